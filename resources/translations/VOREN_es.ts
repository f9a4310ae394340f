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
    <name>CameraStatusDisplay</name>
    <message>
        <source>No document camera is connected</source>
        <translation>No hay ninguna cámara de documentos conectada</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>Conecte la cámara de documentos a un puerto USB de este equipo. Su imagen aparecerá aquí unos segundos después.</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>Iniciando la cámara de documentos…</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>No tiene permiso para usar %1: añada su cuenta al grupo «video» y vuelva a iniciar sesión</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>Otro programa está usando la cámara de documentos</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>Su imagen aparecerá aquí en cuanto el otro programa la deje libre.</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>No hay nada que grabar: la cámara de documentos no da imagen.</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>No se ha capturado ninguna imagen: la cámara de documentos no da imagen.</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>Color propio…</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>Color propio</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>Marcador</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>no se puede escribir el archivo de configuración</translation>
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
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>Abrir carpeta</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Abrir %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Imagen guardada: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Grabación guardada: %1</translation>
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
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Pantalla completa</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Salir de pantalla completa</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>Pantalla del proyector</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>Proyector en la siguiente pantalla</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>Panel de herramientas</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>Abrir vídeo</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>Retroceso rápido</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Avance rápido</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>Abrir fotografías</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>Fotografía anterior</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>Presentación</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>Fotografía siguiente</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturas</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>Intervalo de la presentación</translation>
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
        <translation>Tecla: %1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Dibujo</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Cámara</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>Capturas, grabación e impresión</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>Modos</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Ventana</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>Las teclas sueltas no actúan mientras escribe un texto sobre la imagen.</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>Posición del vídeo</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>Conecte primero una segunda pantalla.</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>No se pudo guardar la configuración en %1: %2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>No se pudo imprimir la imagen en %1.</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>no se puede crear la página</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>No se pudo guardar la página impresa como %1: %2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>No se puede abrir el vídeo «%1».</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>Mantenga pulsado el botón para colores y grosores.</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>Mantenga pulsado el botón para el grosor.</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>Mantenga pulsado el botón para color, fuente y tamaño.</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>Mantenga pulsado el botón para las formas.</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>Mantenga pulsado un botón de dibujo para elegir su color y grosor.</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>Todas las películas</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>¿Imprimir la imagen en un archivo PDF en su lugar?</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>No hay ninguna película abierta</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>Abra una película con %1 o con el botón de carpeta de abajo.</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>No hay ninguna fotografía abierta</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>Abra una carpeta de imágenes con %1 o con el botón de carpeta de abajo.</translation>
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
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Imagen no guardada: %1</translation>
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
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Mayús</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espacio</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Supr</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Izquierda</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Derecha</translation>
    </message>
    <message>
        <source>PgUp</source>
        <translation>RePág</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>AvPág</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>Reproducir multimedia</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>Pausa multimedia</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>Detener multimedia</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>La grabación se detuvo porque se eliminó su archivo.</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>La grabación se detuvo porque no se pudo escribir su archivo: %1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>No se puede escribir la grabación en la carpeta de grabación: %1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>La grabación se detuvo porque en la carpeta de grabación queda espacio para menos de un minuto más: un minuto de grabación necesita unos %1 y hay %2 libres.</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>No hay espacio libre suficiente en la carpeta de grabación para un minuto de grabación: un minuto necesita unos %1.</translation>
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
        <translation>Guardar grabaciones en</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Grabaciones</translation>
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
        <translation>Idioma</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>El programa usará %1 a partir del próximo inicio.</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>no se puede codificar la imagen</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>no hay suficiente espacio libre en la carpeta de imágenes</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>El archivo o la carpeta %1 no existe.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>No se puede leer %1.</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>La carpeta %1 no contiene imágenes que se puedan mostrar (BMP, JPEG, PNG o GIF).</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 no es una imagen que se pueda mostrar (BMP, JPEG, PNG o GIF).</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>No se puede reproducir %1: no es un vídeo o está dañado.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>En su lugar, el programa se inicia en el modo «En directo».</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>Al cerrarse el programa la última vez</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>No se pudo leer el archivo de configuración: se ha apartado como %1 y la configuración empieza de nuevo.</translation>
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
