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
    <name>CameraStatusDisplay</name>
    <message>
        <source>No document camera is connected</source>
        <translation>書画カメラが接続されていません</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>書画カメラをこのコンピューターの USB ポートに接続してください。数秒後にここに映像が表示されます。</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>書画カメラを起動しています…</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>%1 を使用する権限がありません。アカウントを「video」グループに追加してから、ログインし直してください</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>書画カメラは別のプログラムで使用中です</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>別のプログラムが書画カメラを解放すると、ここに映像が表示されます。</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>録画できません。書画カメラの映像がありません。</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>スナップショットを撮れません。書画カメラの映像がありません。</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>任意の色…</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>任意の色</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>蛍光ペン</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>設定ファイルに書き込めません</translation>
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
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>フォルダーを開く</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 を開く</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>スナップショットを保存しました: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>録画を保存しました: %1</translation>
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
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直し</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面表示</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>全画面表示を終了</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>プロジェクター画面</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>プロジェクター画面を次の画面へ</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>キー操作</translation>
    </message>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>ツールパネル</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>最大化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>動画を開く</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>早戻し</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>早送り</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>写真を開く</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>前の写真</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>スライドショー</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>次の写真</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>サムネイル</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>スライドの間隔</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the keys of one command</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a command&apos;s name and its keys</comment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <translation>キー: %1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>描画</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>画像</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>カメラ</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>撮影・録画・印刷</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>ウィンドウ</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>画像に文字を入力している間は、単独のキーは働きません。</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>再生位置</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>先に2台目の画面を接続してください。</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>設定を %1 に保存できませんでした: %2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>%1 で画像を印刷できませんでした。</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>ページを作成できません</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>印刷したページを %1 として保存できませんでした: %2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>動画「%1」を開けません。</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>ボタンを長押しすると色と太さを選べます。</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>ボタンを長押しすると太さを選べます。</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>ボタンを長押しすると色、フォント、サイズを選べます。</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>ボタンを長押しすると形を選べます。</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>描画ボタンを長押しすると色と太さを選べます。</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>すべての動画</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>代わりに画像を PDF ファイルに印刷しますか？</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>動画が開かれていません</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>%1 または下のフォルダー ボタンで動画を開きます。</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>写真が開かれていません</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>%1 または下のフォルダー ボタンで画像のフォルダーを開きます。</translation>
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
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>スナップショットは保存されませんでした: %1</translation>
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
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>←</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>→</translation>
    </message>
    <message>
        <source>PgUp</source>
        <translation>PageUp</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>PageDown</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>メディア再生</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>メディア一時停止</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>メディア停止</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>録画ファイルが削除されたため、録画を停止しました。</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>録画ファイルに書き込めなかったため、録画を停止しました: %1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>録画を録画フォルダーに書き込めません: %1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>録画フォルダーの空き容量が 1 分に満たないため、録画を停止しました。1 分の録画には約 %1 が必要で、空きは %2 です。</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>録画フォルダーに 1 分間の録画に必要な空き容量がありません。1 分には約 %1 が必要です。</translation>
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
    <message>
        <source>50 Hz</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Hz</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>次回の起動から %1 で表示します。</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>画像をエンコードできません</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>スナップショット フォルダーの空き容量が不足しています</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>ファイルまたはフォルダー %1 は存在しません。</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 を読み込めません。</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>フォルダー %1 には表示できる画像 (BMP、JPEG、PNG、GIF) がありません。</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 は表示できる画像 (BMP、JPEG、PNG、GIF) ではありません。</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>%1 を再生できません。動画ではないか、ファイルが破損しています。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>代わりに「ライブ」モードで起動します。</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>前回プログラムの終了時</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>設定ファイルを読み込めませんでした。%1 として別に保存し、設定を初期状態から始めます。</translation>
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
