<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>カラー効果</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>ファイルが存在しません。</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>ファイルを読み込めません。</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>このファイルはここで再生できる動画ではありません。</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>このファイルには映像がなく、音声だけです。</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>ファイルが破損しています。</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>動画が %1 秒以内に開始しませんでした。</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>動画を再生できません。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>線の太さ</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>線の色</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>塗りつぶしの色</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>ライブ</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>動画</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>写真</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>ホワイトボード</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>直線</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>四角形</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>フリーハンド</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>円</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>矢印</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>三角形</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>消しゴム</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>すべて消去</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>範囲をコピー</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>手のひら</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>背景の塗りつぶし</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>補助</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>マスク</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>効果</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>調整</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>ズームをリセット</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>オートフォーカス</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>明るさを下げる</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>明るさを上げる</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>右に回転</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>左に回転</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>静止</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>録画・撮影</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>動画を録画</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>スナップショット</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>背景色</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>このシステムにプリンターが見つかりません。</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>先にフォルダーを選択してください。</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>動画「%1」を開けません。</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>マスク</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>カラー</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>白黒</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>ネガ</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>モザイク</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>全体</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>このファイルは画像ではないか、読み込めません。</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>ファイルが破損しています。</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>画像が大きすぎて開けません。</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>画像を読み込めませんでした。</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>この画像は表示できません。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Line</source>
        <translation>直線</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>四角形</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>フリーハンド</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>円</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>矢印</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>三角形</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>消しゴム</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>未完了の録画</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>読み取れません</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>このプログラムで読み取れる動画ファイルではありません</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>完全な画像が含まれていません</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>名前が別のファイルへのリンクです</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>修復したコピーを書き込めませんでした。フォルダーがいっぱいか読み取り専用の可能性があります</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>修復したコピーが正しく再生されませんでした</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>前回プログラムが終了したとき、次の録画は完了していませんでした:</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>%1 を修復しました。再生時間は %2 秒です。</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>%1 を修復できませんでした: %2。ファイルは元のまま保持されています。</translation>
    </message>
</context>
<context>
    <name>SettingsToolWindow</name>
    <message>
        <source>Setting</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Flicker</source>
        <translation>フリッカー</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>解像度</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>撮影</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>単写</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>間隔撮影</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>間隔</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>min</source>
        <translation>分</translation>
    </message>
    <message>
        <source>hr</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>保存先</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>参照</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>録画保存先</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>録画</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>%1x%2 の録画解像度では、性能の低い PC でフレームレートが下がることがあります。続行しますか？</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>色</translation>
    </message>
</context>
</TS>
