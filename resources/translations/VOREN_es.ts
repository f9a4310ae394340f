<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>Efecto de color</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>El archivo no existe.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>No se puede leer el archivo.</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>El archivo no es un vídeo que se pueda reproducir aquí.</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>El archivo no contiene imágenes, solo sonido.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>El archivo está dañado.</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>El vídeo no se inició en %1 segundos.</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>No se puede reproducir el vídeo.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>Ancho de línea</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>Color de línea</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>Color de relleno</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En directo</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>Vídeo</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>Fotografía</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>Pizarra</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>Anotación</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectángulo</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Mano alzada</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Flecha</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triángulo</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Borrador</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>Borrar todo</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>Copiar área de la imagen</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Mano</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>Rellenar fondo</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>Asistencia</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Máscara</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Efecto</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>Ajuste</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>Restablecer zoom</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>Enfoque automático</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>Bajar brillo</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>Subir brillo</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Girar a la derecha</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>Girar a la izquierda</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>Congelar</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Grabación</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>Grabar vídeo</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>Capturar imagen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Color de fondo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>No se encontraron impresoras en este sistema.</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Seleccione primero una carpeta.</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>No se puede abrir el vídeo «%1».</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>Máscara</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>B/N</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negativo</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>Mosaico</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>Ajustar</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>El archivo no es una imagen o no se puede leer.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>El archivo está dañado.</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>La imagen es demasiado grande para abrirla.</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>No se pudo leer la imagen.</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>No se puede mostrar esta imagen.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Line</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectángulo</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Mano alzada</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Flecha</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triángulo</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Borrador</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>Grabaciones sin terminar</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>no es un archivo de vídeo que este programa pueda leer</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>no contiene ninguna imagen completa</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>su nombre es un enlace a otro archivo</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>no se pudo escribir la copia reparada; puede que la carpeta esté llena o sea de solo lectura</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>la copia reparada no se reprodujo correctamente</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>Estas grabaciones no estaban terminadas cuando el programa se cerró por última vez:</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>%1 se ha reparado y dura %2 s.</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>No se pudo reparar %1: %2. El archivo se ha conservado tal como estaba.</translation>
    </message>
</context>
<context>
    <name>SettingsToolWindow</name>
    <message>
        <source>Setting</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Flicker</source>
        <translation>Parpadeo</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolución</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Única</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continua</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>s</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>hr</source>
        <translation>h</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Guardar en</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Examinar</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>Guardar vídeos en</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Vídeos</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Pregunta</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>Usar una resolución de grabación de %1x%2 puede reducir la velocidad de fotogramas si el PC no es potente. ¿Continuar?</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
</context>
</TS>
