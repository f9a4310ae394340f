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
    <name>CameraStatusDisplay</name>
    <message>
        <source>No document camera is connected</source>
        <translation>Keine Dokumentenkamera angeschlossen</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>Schließen Sie die Dokumentenkamera an einen USB-Anschluss dieses Computers an. Ihr Bild erscheint wenige Sekunden später hier.</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>Dokumentenkamera wird gestartet …</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>Keine Berechtigung für %1: Fügen Sie Ihr Benutzerkonto der Gruppe „video“ hinzu und melden Sie sich dann neu an</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>Die Dokumentenkamera wird von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>Ihr Bild erscheint hier, sobald das andere Programm sie freigibt.</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>Keine Aufnahme möglich: Die Dokumentenkamera liefert kein Bild.</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>Kein Foto aufgenommen: Die Dokumentenkamera liefert kein Bild.</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>Eigene Farbe …</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>Eigene Farbe</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>Textmarker</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>die Einstellungsdatei kann nicht geschrieben werden</translation>
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
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Foto gespeichert: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Video gespeichert: %1</translation>
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
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Vollbild beenden</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>Projektorbild</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>Projektorbild auf den nächsten Bildschirm</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>Film öffnen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>Schneller Rücklauf</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Schneller Vorlauf</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>Fotos öffnen</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>Vorheriges Foto</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>Diashow</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>Nächstes Foto</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturansichten</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>Diashow-Intervall</translation>
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
        <translation>Taste: %1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Zeichnen</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>Fotos, Aufnahme und Druck</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>Modi</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>Einzelne Tasten wirken nicht, während Sie einen Text auf das Bild schreiben.</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>Filmposition</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>Schließen Sie zuerst einen zweiten Bildschirm an.</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>Das Bild konnte nicht auf %1 gedruckt werden.</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>die Seite kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>Die gedruckte Seite konnte nicht als %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>Der Film „%1“ kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>Knopf gedrückt halten für Farben und Breiten.</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>Knopf gedrückt halten für die Breite.</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>Knopf gedrückt halten für Farbe, Schrift und Größe.</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>Knopf gedrückt halten für die Formen.</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>Einen Zeichenknopf gedrückt halten, um Farbe und Breite zu wählen.</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>Alle Filme</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>Das Bild stattdessen in eine PDF-Datei drucken?</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>Kein Film geöffnet</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>Öffnen Sie einen Film mit %1 oder der Ordner-Schaltfläche unten.</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>Keine Fotos geöffnet</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>Öffnen Sie einen Ordner mit Bildern mit %1 oder der Ordner-Schaltfläche unten.</translation>
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
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Foto nicht gespeichert: %1</translation>
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
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Umschalt</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Entf</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Pos1</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>PgUp</source>
        <translation>Bild auf</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>Bild ab</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>Medien-Wiedergabe</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>Medien-Pause</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>Medien-Stopp</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>Die Aufnahme wurde beendet, weil ihre Datei entfernt wurde.</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>Die Aufnahme wurde beendet, weil ihre Datei nicht geschrieben werden konnte: %1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>Die Aufnahme kann nicht in den Aufnahmeordner geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>Die Aufnahme wurde beendet, weil im Aufnahmeordner weniger als eine weitere Minute Platz hat: Eine Minute Aufnahme braucht etwa %1, frei sind %2.</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>Im Aufnahmeordner ist nicht genug Platz für eine Minute Aufnahme frei: Eine Minute braucht etwa %1.</translation>
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
        <translation>Fotos</translation>
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
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>Ab dem nächsten Start spricht das Programm %1.</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>das Bild kann nicht kodiert werden</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>nicht genug freier Platz im Fotoordner</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>Die Datei oder der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>Der Ordner %1 enthält keine Bilder, die angezeigt werden können (BMP, JPEG, PNG oder GIF).</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 ist kein Bild, das angezeigt werden kann (BMP, JPEG, PNG oder GIF).</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>%1 kann nicht abgespielt werden: Die Datei ist kein Film oder sie ist beschädigt.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>Das Programm startet stattdessen im Modus „Live“.</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>Beim letzten Beenden des Programms</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>Die Einstellungsdatei konnte nicht gelesen werden: Sie wurde als %1 beiseitegelegt, und die Einstellungen beginnen neu.</translation>
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
