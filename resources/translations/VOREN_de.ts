<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
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
        <translation>Farbeffekt</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>Die Datei ist kein Film, der hier abgespielt werden kann.</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>Die Datei enthält keine Bilder, nur Ton.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Die Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>Der Film ist nicht innerhalb von %1 Sekunden gestartet.</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>Der Film kann nicht abgespielt werden.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>Linienbreite</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>Linienfarbe</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>Füllfarbe</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>Zeichenbrett</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>Zeichnen</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Freihand</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>Bildausschnitt kopieren</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Hand</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>Hintergrund füllen</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>Hilfsmittel</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Maske</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>Anpassung</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>Zoom zurücksetzen</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>Autofokus</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>Helligkeit verringern</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>Helligkeit erhöhen</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>Standbild</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>Video aufnehmen</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>Foto aufnehmen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>Auf diesem System wurden keine Drucker gefunden.</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Bitte wählen Sie zuerst einen Ordner aus.</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>Der Film „%1“ kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>Maske</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>S/W</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negativ</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>Mosaik</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>Optimal</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>Die Datei ist kein Bild oder kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Die Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>Das Bild ist zu groß zum Öffnen.</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>Das Bild konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Dieses Bild kann nicht angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Line</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Freihand</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Radierer</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>Unvollständige Aufnahmen</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>sie kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>sie ist keine Videodatei, die dieses Programm lesen kann</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>sie enthält kein vollständiges Bild</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>ihr Name ist eine Verknüpfung zu einer anderen Datei</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>die reparierte Kopie konnte nicht geschrieben werden; der Ordner ist möglicherweise voll oder schreibgeschützt</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>die reparierte Kopie ließ sich nicht korrekt abspielen</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>Diese Aufnahmen waren beim letzten Beenden des Programms nicht abgeschlossen:</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>%1 wurde repariert und dauert %2 s.</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>%1 konnte nicht repariert werden: %2. Die Datei wurde unverändert beibehalten.</translation>
    </message>
</context>
<context>
    <name>SettingsToolWindow</name>
    <message>
        <source>Setting</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Flicker</source>
        <translation>Flimmern</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Einzeln</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Fortlaufend</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Intervall</translation>
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
        <translation>Speichern in</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>Videos speichern in</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>Eine Aufnahmeauflösung von %1x%2 kann auf einem leistungsschwachen PC zu einer niedrigen Bildrate führen. Fortfahren?</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
</context>
</TS>
