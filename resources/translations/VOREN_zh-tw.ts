<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>寬度</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>線條寬度</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>線條顏色</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>填滿顏色</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>即時影像</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>影片</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>相片</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>繪圖板</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>標註</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>直線</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>矩形</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>手繪</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>圓形</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>箭頭</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>三角形</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>橡皮擦</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>全部清除</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>擷取影像</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>手形工具</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>填滿背景</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>輔助</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>遮罩</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>效果</translation>
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
        <translation>放大</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>重設縮放</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>自動對焦</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>降低亮度</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>提高亮度</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>旋轉</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>反向旋轉</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>凍結畫面</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>錄製</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>錄影</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>拍照</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>彩色</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>黑白</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>負片</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>馬賽克</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>最適大小</translation>
    </message>
</context>
<context>
    <name>PrintControl</name>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>此系統上找不到印表機。</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>請先選擇資料夾。</translation>
    </message>
</context>
<context>
    <name>SnapshotControl</name>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>請先選擇資料夾。</translation>
    </message>
</context>
</TS>
