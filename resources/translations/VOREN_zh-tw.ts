<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>色彩效果</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>無法讀取檔案。</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>此檔案不是可在此播放的影片。</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>此檔案沒有影像，只有聲音。</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>檔案已損毀。</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>影片未在 %1 秒內開始播放。</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>無法播放影片。</translation>
    </message>
</context>
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
        <translation>白板</translation>
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
        <translation>向右旋轉</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>向左旋轉</translation>
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
    <message>
        <source>Background Color</source>
        <translation>背景顏色</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>此系統上找不到印表機。</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>請先選擇資料夾。</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>無法開啟影片「%1」。</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>遮罩</translation>
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
        <translation>全圖</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>此檔案不是圖片，或無法讀取。</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>檔案已損毀。</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>圖片太大，無法開啟。</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>無法讀取圖片。</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>無法顯示此圖片。</translation>
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
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>未完成的錄影</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>無法讀取</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>不是本程式可讀取的影片檔</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>不含任何完整畫面</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>其名稱是指向其他檔案的連結</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>無法寫入修復後的副本；資料夾可能已滿或為唯讀</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>修復後的副本無法正確播放</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>程式上次結束時，下列錄影尚未完成：</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>%1 已修復，播放長度為 %2 秒。</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>%1 無法修復：%2。檔案已保持原狀。</translation>
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
        <translation>閃爍</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>解析度</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>拍照</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>單張</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>連續</translation>
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
        <translation>小時</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>儲存至</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>瀏覽</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>錄影儲存至</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>錄影</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>使用 %1x%2 的錄影解析度，在效能不足的電腦上可能導致畫面更新率偏低。要繼續嗎？</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>顏色</translation>
    </message>
</context>
</TS>
