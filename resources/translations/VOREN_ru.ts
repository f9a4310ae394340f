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
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>Цветовой эффект</translation>
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
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>Не удаётся открыть видео «%1».</translation>
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
        <translation>Видео в</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Видео</translation>
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
