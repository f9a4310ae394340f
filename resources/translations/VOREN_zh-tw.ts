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
    <name>CameraStatusDisplay</name>
    <message>
        <source>No document camera is connected</source>
        <translation>未連接實物投影機</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>請將實物投影機連接到這台電腦的 USB 連接埠，幾秒後畫面就會出現在這裡。</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>正在啟動實物投影機…</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>沒有使用 %1 的權限：請將您的帳戶加入「video」群組，然後重新登入</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>實物投影機正由其他程式使用中</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>其他程式釋放實物投影機後，畫面就會出現在這裡。</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>無法錄影：實物投影機沒有畫面。</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>未拍照：實物投影機沒有畫面。</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>自訂顏色…</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>自訂顏色</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>螢光筆</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>無法寫入設定檔</translation>
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
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>開啟資料夾</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>開啟 %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>已儲存照片：%1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>已儲存錄影：%1</translation>
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
        <source>Undo</source>
        <translation>復原</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全螢幕</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>結束全螢幕</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>投影機畫面</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>投影機畫面移到下一個螢幕</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>快速鍵</translation>
    </message>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>工具面板</translation>
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
        <translation>關閉</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>開啟影片</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暫停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>快退</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>快轉</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>開啟相片</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>上一張相片</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>投影片播放</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>下一張相片</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>縮圖</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>投影片間隔</translation>
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
        <translation>按鍵：%1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>繪圖</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>畫面</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>攝影機</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>拍照、錄影與列印</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>視窗</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>在畫面上輸入文字時，單一按鍵不會作用。</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>播放位置</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>請先連接第二個螢幕。</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>無法將設定儲存至 %1：%2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>無法在 %1 上列印圖片。</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>無法建立頁面</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>無法將列印的頁面儲存為 %1：%2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>無法開啟影片「%1」。</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>按住按鈕可選擇顏色與粗細。</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>按住按鈕可選擇粗細。</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>按住按鈕可選擇顏色、字型與大小。</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>按住按鈕可選擇形狀。</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>按住繪圖按鈕可選擇其顏色與粗細。</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>所有影片</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>改為將畫面列印成 PDF 檔案？</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>尚未開啟影片</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>請按 %1 或下方的資料夾按鈕開啟影片。</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>尚未開啟相片</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>請按 %1 或下方的資料夾按鈕開啟圖片資料夾。</translation>
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
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>照片未儲存：%1</translation>
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
        <translation>空白鍵</translation>
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
        <translation>PgUp</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>PgDn</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>媒體播放</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>媒體暫停</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>媒體停止</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>錄影檔案已被移除，錄影已停止。</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>無法寫入錄影檔案，錄影已停止：%1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>無法將錄影寫入錄影資料夾：%1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>錄影已停止，因為錄影資料夾的空間不足一分鐘：一分鐘的錄影約需 %1，目前可用 %2。</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>錄影資料夾的可用空間不足以錄影一分鐘：一分鐘約需 %1。</translation>
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
        <translation>語言</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>下次啟動時程式將使用%1。</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>無法編碼圖片</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>照片資料夾的可用空間不足</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>檔案或資料夾 %1 不存在。</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>無法讀取 %1。</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>資料夾 %1 中沒有可顯示的圖片（BMP、JPEG、PNG 或 GIF）。</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 不是可顯示的圖片（BMP、JPEG、PNG 或 GIF）。</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>無法播放 %1：這不是影片，或檔案已損毀。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>程式改為以「即時影像」模式啟動。</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>程式上次結束時</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>無法讀取設定檔：已另存為 %1，設定將重新開始。</translation>
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
