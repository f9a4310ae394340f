<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
        <translation>画像の切り取り</translation>
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
        <translation>回転</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>逆回転</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>静止</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>記録</translation>
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
        <translation>全体表示</translation>
    </message>
</context>
<context>
    <name>PrintControl</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>このシステムにプリンターが見つかりません。</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>先にフォルダーを選択してください。</translation>
    </message>
</context>
<context>
    <name>SnapshotControl</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>先にフォルダーを選択してください。</translation>
    </message>
</context>
</TS>
