<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Версия</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>CameraStatusDisplay</name>
    <message>
        <source>No document camera is connected</source>
        <translation>Документ-камера не подключена</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>Подключите документ-камеру к USB-порту этого компьютера. Через несколько секунд здесь появится её изображение.</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>Запуск документ-камеры…</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>Нет доступа к %1: добавьте свою учётную запись в группу «video» и войдите в систему заново</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>Документ-камера используется другой программой</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>Изображение появится здесь, как только другая программа освободит камеру.</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>Нечего записывать: нет изображения с документ-камеры.</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>Снимок не сделан: нет изображения с документ-камеры.</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>Свой цвет…</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>Свой цвет</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>Маркер</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>не удаётся записать файл настроек</translation>
    </message>
</context>
<context>
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>Цветовой эффект</translation>
    </message>
</context>
<context>
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>Открыть папку</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Открыть %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Снимок сохранён: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Запись сохранена: %1</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Файл не существует.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Не удаётся прочитать файл.</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>Файл не является видео, которое можно здесь воспроизвести.</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>В файле нет изображения, только звук.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Файл повреждён.</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>Видео не запустилось за %1 секунд.</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>Не удаётся воспроизвести видео.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>Ширина</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>Толщина линии</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>Цвет линии</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>Цвет заливки</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Камера</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>Видео</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>Фото</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>Доска</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>Пометки</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Прямоугольник</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>От руки</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Круг</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Стрелка</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Треугольник</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>Стереть всё</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>Копировать фрагмент</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Рука</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>Заливка фона</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>Эффекты</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Маска</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Эффект</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>Регулировка</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Увеличить</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>Сбросить масштаб</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>Автофокус</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>Уменьшить яркость</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>Увеличить яркость</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Повернуть вправо</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>Повернуть влево</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>Стоп-кадр</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Запись</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>Записать видео</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>Сделать снимок</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Цвет фона</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>В системе не найдено ни одного принтера.</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Сначала выберите папку.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Полноэкранный режим</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Выйти из полноэкранного режима</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>Экран проектора</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>Проектор на следующий экран</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Клавиши</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>Панель инструментов</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Развернуть</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>Открыть видео</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>Быстрая перемотка назад</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Быстрая перемотка вперёд</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Громкость</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>Открыть фото</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>Предыдущее фото</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>Слайд-шоу</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>Следующее фото</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Миниатюры</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>Интервал слайд-шоу</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between the keys of one command</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a command&apos;s name and its keys</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Key: %1</source>
        <translation>Клавиша: %1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Рисование</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Изображение</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Камера</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>Снимки, запись и печать</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>Режимы</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Окно</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>Пока вы вводите текст на изображении, одиночные клавиши не действуют.</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>Позиция воспроизведения</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>Сначала подключите второй экран.</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>Не удалось сохранить настройки в %1: %2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>Не удалось напечатать изображение на %1.</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>не удаётся создать страницу</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>Не удалось сохранить напечатанную страницу как %1: %2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>Не удаётся открыть видео «%1».</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>Удерживайте кнопку, чтобы выбрать цвет и толщину.</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>Удерживайте кнопку, чтобы выбрать толщину.</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>Удерживайте кнопку, чтобы выбрать цвет, шрифт и размер.</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>Удерживайте кнопку, чтобы выбрать форму.</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>Удерживайте кнопку рисования, чтобы выбрать цвет и толщину.</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>Все видеофайлы</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>Вместо этого напечатать изображение в PDF-файл?</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>Видео не открыто</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>Откройте видео сочетанием %1 или кнопкой папки внизу.</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>Фотографии не открыты</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>Откройте папку с изображениями сочетанием %1 или кнопкой папки внизу.</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>Маска</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>Цвет</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>Ч/Б</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Негатив</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>Мозаика</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>По окну</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Снимок не сохранён: %1</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>Файл не является изображением или не читается.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Файл повреждён.</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>Изображение слишком велико, чтобы его открыть.</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>Не удалось прочитать изображение.</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Это изображение невозможно показать.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Line</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Прямоугольник</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>От руки</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Круг</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Стрелка</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Треугольник</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Ластик</translation>
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
        <translation>Пробел</translation>
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
        <translation>Влево</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Вправо</translation>
    </message>
    <message>
        <source>PgUp</source>
        <translation>PgUp</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>PgDown</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>Воспроизведение</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>Пауза воспроизведения</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>Остановка воспроизведения</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>Запись остановлена: её файл был удалён.</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>Запись остановлена: не удалось записать её файл: %1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>Не удаётся записать видео в папку записи: %1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>Запись остановлена: в папке записи осталось места меньше чем на минуту. Минута записи занимает около %1, свободно %2.</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>В папке записи недостаточно места для минуты записи: минута занимает около %1.</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>Незавершённые записи</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>его невозможно прочитать</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>это не видеофайл, который может прочитать эта программа</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>в нём нет ни одного полного кадра</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>его имя — ссылка на другой файл</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>не удалось записать восстановленную копию; возможно, папка заполнена или доступна только для чтения</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>восстановленная копия воспроизводится неправильно</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>Эти записи не были завершены при последнем завершении программы:</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>Файл %1 восстановлен, его длительность %2 с.</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>Не удалось восстановить файл %1: %2. Файл оставлен без изменений.</translation>
    </message>
</context>
<context>
    <name>SettingsToolWindow</name>
    <message>
        <source>Setting</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Flicker</source>
        <translation>Мерцание</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Разрешение</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Съёмка</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Одиночная</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Интервал</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>с</translation>
    </message>
    <message>
        <source>min</source>
        <translation>мин</translation>
    </message>
    <message>
        <source>hr</source>
        <translation>ч</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Снимки в</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Обзор</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>Записи в</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Записи</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Вопрос</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>Разрешение записи %1x%2 может снизить частоту кадров на маломощном компьютере. Продолжить?</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Гц</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Гц</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>Со следующего запуска программа будет на языке: %1.</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>не удаётся закодировать изображение</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>недостаточно свободного места в папке снимков</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>Файл или папка %1 не существует.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Не удаётся прочитать %1.</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>В папке %1 нет изображений, которые можно показать (BMP, JPEG, PNG или GIF).</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 — не изображение, которое можно показать (BMP, JPEG, PNG или GIF).</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>Не удаётся воспроизвести %1: это не видео, или файл повреждён.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>Вместо этого программа запускается в режиме «Камера».</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>При последнем завершении программы</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>Не удалось прочитать файл настроек: он сохранён отдельно как %1, настройки начинаются заново.</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Цвет</translation>
    </message>
</context>
</TS>
