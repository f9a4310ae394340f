<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutToolWindow</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
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
        <translation>Aucun visualiseur n’est connecté</translation>
    </message>
    <message>
        <source>Connect the document camera to a USB port of this computer. Its picture appears here a few seconds later.</source>
        <translation>Branchez le visualiseur sur un port USB de cet ordinateur. Son image apparaîtra ici quelques secondes plus tard.</translation>
    </message>
    <message>
        <source>Starting the document camera...</source>
        <translation>Démarrage du visualiseur…</translation>
    </message>
    <message>
        <source>No permission to use %1: add your account to the &apos;video&apos; group, then log in again</source>
        <translation>Pas d’autorisation pour utiliser %1&#xa0;: ajoutez votre compte au groupe «&#xa0;video&#xa0;», puis reconnectez-vous</translation>
    </message>
    <message>
        <source>The document camera is in use by another program</source>
        <translation>Le visualiseur est utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Its picture appears here as soon as the other program lets it go.</source>
        <translation>Son image apparaîtra ici dès que l’autre programme l’aura libéré.</translation>
    </message>
    <message>
        <source>Nothing to record: there is no picture from the document camera.</source>
        <translation>Rien à enregistrer&#xa0;: le visualiseur ne fournit aucune image.</translation>
    </message>
    <message>
        <source>No snapshot taken: there is no picture from the document camera.</source>
        <translation>Aucune photo prise&#xa0;: le visualiseur ne fournit aucune image.</translation>
    </message>
</context>
<context>
    <name>ColorToolWindow</name>
    <message>
        <source>Own colour...</source>
        <translation>Couleur personnalisée…</translation>
    </message>
    <message>
        <source>Own colour</source>
        <translation>Couleur personnalisée</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>Surligneur</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>the settings file cannot be written</source>
        <translation>le fichier des paramètres ne peut pas être écrit</translation>
    </message>
</context>
<context>
    <name>EffectToolWindow</name>
    <message>
        <source>Color Effect</source>
        <translation>Effet de couleur</translation>
    </message>
</context>
<context>
    <name>FileNotice</name>
    <message>
        <source>Open folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Ouvrir %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Photo enregistrée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Vidéo enregistrée&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>FilmSource</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Le fichier n’existe pas.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Le fichier ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The file is not a film that can be played here.</source>
        <translation>Le fichier n’est pas un film lisible ici.</translation>
    </message>
    <message>
        <source>The file holds no pictures, only sound.</source>
        <translation>Le fichier ne contient pas d’images, seulement du son.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Le fichier est endommagé.</translation>
    </message>
    <message>
        <source>The film did not start within %1 seconds.</source>
        <translation>Le film n’a pas démarré en %1 secondes.</translation>
    </message>
    <message>
        <source>The film cannot be played.</source>
        <translation>Le film ne peut pas être lu.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Line Width</source>
        <translation>Épaisseur du trait</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>Couleur du trait</translation>
    </message>
    <message>
        <source>Fill Color</source>
        <translation>Remplissage</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Direct</translation>
    </message>
    <message>
        <source>Film</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Photograph</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Drawing Board</source>
        <translation>Tableau</translation>
    </message>
    <message>
        <source>Noting</source>
        <translation>Annotation</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Main levée</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Flèche</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Gomme</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Erase all</source>
        <translation>Tout effacer</translation>
    </message>
    <message>
        <source>Clip image</source>
        <translation>Copier une zone de l’image</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>Fill background</source>
        <translation>Remplir le fond</translation>
    </message>
    <message>
        <source>Assisting</source>
        <translation>Assistance</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Masque</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Effet</translation>
    </message>
    <message>
        <source>Adjustment</source>
        <translation>Réglage</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>Réinitialiser le zoom</translation>
    </message>
    <message>
        <source>Auto focus</source>
        <translation>Mise au point auto</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>Baisser la luminosité</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>Augmenter la luminosité</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Pivoter à droite</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>Pivoter à gauche</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>Figer</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Record video</source>
        <translation>Enregistrer une vidéo</translation>
    </message>
    <message>
        <source>Take snapshot</source>
        <translation>Prendre une photo</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Couleur d’arrière-plan</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>Aucune imprimante n’a été trouvée sur ce système.</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Veuillez d’abord choisir un dossier.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Quitter le plein écran</translation>
    </message>
    <message>
        <source>Projector screen</source>
        <translation>Écran du projecteur</translation>
    </message>
    <message>
        <source>Projector on the next screen</source>
        <translation>Projecteur sur l’écran suivant</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Tool panel</source>
        <translation>Panneau d’outils</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Open film</source>
        <translation>Ouvrir un film</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>Fast backward</source>
        <translation>Retour rapide</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Avance rapide</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Open photographs</source>
        <translation>Ouvrir des photos</translation>
    </message>
    <message>
        <source>Previous photograph</source>
        <translation>Photo précédente</translation>
    </message>
    <message>
        <source>Slide show</source>
        <translation>Diaporama</translation>
    </message>
    <message>
        <source>Next photograph</source>
        <translation>Photo suivante</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniatures</translation>
    </message>
    <message>
        <source>Slide interval</source>
        <translation>Intervalle du diaporama</translation>
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
        <translation>Touche : %1</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Dessin</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Caméra</translation>
    </message>
    <message>
        <source>Snapshots, recording and printing</source>
        <translation>Photos, enregistrement et impression</translation>
    </message>
    <message>
        <source>Modes</source>
        <translation>Modes</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <source>Single keys do nothing while you type a text on the picture.</source>
        <translation>Les touches seules sont sans effet pendant la saisie d’un texte sur l’image.</translation>
    </message>
    <message>
        <source>Film position</source>
        <translation>Position dans le film</translation>
    </message>
    <message>
        <source>Connect a second screen first.</source>
        <translation>Branchez d’abord un second écran.</translation>
    </message>
    <message>
        <source>The settings could not be saved in %1: %2</source>
        <translation>Les paramètres n&apos;ont pas pu être enregistrés dans %1 : %2</translation>
    </message>
    <message>
        <source>The picture could not be printed on %1.</source>
        <translation>L&apos;image n&apos;a pas pu être imprimée sur %1.</translation>
    </message>
    <message>
        <source>the page cannot be made</source>
        <translation>la page ne peut pas être créée</translation>
    </message>
    <message>
        <source>The printed page could not be saved as %1: %2</source>
        <translation>La page imprimée n&apos;a pas pu être enregistrée sous %1 : %2</translation>
    </message>
    <message>
        <source>The film &quot;%1&quot; cannot be opened.</source>
        <translation>Impossible d’ouvrir le film « %1 ».</translation>
    </message>
    <message>
        <source>Hold the button for colours and widths.</source>
        <translation>Maintenez le bouton enfoncé pour les couleurs et les épaisseurs.</translation>
    </message>
    <message>
        <source>Hold the button for the width.</source>
        <translation>Maintenez le bouton enfoncé pour l’épaisseur.</translation>
    </message>
    <message>
        <source>Hold the button for colour, font and size.</source>
        <translation>Maintenez le bouton enfoncé pour la couleur, la police et la taille.</translation>
    </message>
    <message>
        <source>Hold the button for the shapes.</source>
        <translation>Maintenez le bouton enfoncé pour les formes.</translation>
    </message>
    <message>
        <source>Hold a drawing button to choose its colour and width.</source>
        <translation>Maintenez un bouton de dessin enfoncé pour choisir sa couleur et son épaisseur.</translation>
    </message>
    <message>
        <source>All films</source>
        <translation>Tous les films</translation>
    </message>
    <message>
        <source>Print the picture to a PDF file instead?</source>
        <translation>Imprimer plutôt l’image dans un fichier PDF ?</translation>
    </message>
    <message>
        <source>No film is open</source>
        <translation>Aucun film n’est ouvert</translation>
    </message>
    <message>
        <source>Open a film with %1 or the folder button below.</source>
        <translation>Ouvrez un film avec %1 ou le bouton dossier ci-dessous.</translation>
    </message>
    <message>
        <source>No photographs are open</source>
        <translation>Aucune photo n’est ouverte</translation>
    </message>
    <message>
        <source>Open a folder of pictures with %1 or the folder button below.</source>
        <translation>Ouvrez un dossier d’images avec %1 ou le bouton dossier ci-dessous.</translation>
    </message>
</context>
<context>
    <name>MaskToolWindow</name>
    <message>
        <source>Effect</source>
        <translation>Masque</translation>
    </message>
</context>
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>N&amp;B</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Négatif</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>Mosaïque</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>Ajusté</translation>
    </message>
    <message>
        <source>Snapshot not saved: %1</source>
        <translation>Photo non enregistrée : %1</translation>
    </message>
</context>
<context>
    <name>PicturePlaceholder</name>
    <message>
        <source>The file is not a picture, or it cannot be read.</source>
        <translation>Le fichier n’est pas une image ou ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The file is damaged.</source>
        <translation>Le fichier est endommagé.</translation>
    </message>
    <message>
        <source>The picture is too large to open.</source>
        <translation>L’image est trop grande pour être ouverte.</translation>
    </message>
    <message>
        <source>The picture could not be read.</source>
        <translation>L’image n’a pas pu être lue.</translation>
    </message>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Cette image ne peut pas être affichée.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Main levée</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Flèche</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Gomme</translation>
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
        <translation>Maj</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Suppr</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Échap</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>PgUp</source>
        <translation>Pg préc</translation>
    </message>
    <message>
        <source>PgDown</source>
        <translation>Pg suiv</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Media Play</source>
        <translation>Lecture multimédia</translation>
    </message>
    <message>
        <source>Media Pause</source>
        <translation>Pause multimédia</translation>
    </message>
    <message>
        <source>Media Stop</source>
        <translation>Arrêt multimédia</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>The recording was stopped because its file was removed.</source>
        <translation>L&apos;enregistrement a été arrêté car son fichier a été supprimé.</translation>
    </message>
    <message>
        <source>The recording was stopped because its file could not be written: %1</source>
        <translation>L&apos;enregistrement a été arrêté car son fichier n&apos;a pas pu être écrit : %1</translation>
    </message>
    <message>
        <source>The recording cannot be written into the record folder: %1</source>
        <translation>L&apos;enregistrement ne peut pas être écrit dans le dossier d&apos;enregistrement : %1</translation>
    </message>
    <message>
        <source>The recording was stopped because the record folder has room for less than a minute more: a minute of recording needs about %1, and %2 are free.</source>
        <translation>L’enregistrement a été arrêté, car le dossier d’enregistrement n’a plus de place que pour moins d’une minute&#xa0;: une minute d’enregistrement demande environ %1, et %2 sont libres.</translation>
    </message>
    <message>
        <source>There is not enough free space in the record folder for a minute of recording: a minute needs about %1.</source>
        <translation>Le dossier d’enregistrement n’a pas assez d’espace libre pour une minute d’enregistrement : une minute demande environ %1.</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>Unfinished recordings</source>
        <translation>Enregistrements inachevés</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>il ne peut pas être lu</translation>
    </message>
    <message>
        <source>it is not a video file this program can read</source>
        <translation>ce n&apos;est pas un fichier vidéo que ce programme peut lire</translation>
    </message>
    <message>
        <source>it holds no complete picture</source>
        <translation>il ne contient aucune image complète</translation>
    </message>
    <message>
        <source>its name is a link to another file</source>
        <translation>son nom est un lien vers un autre fichier</translation>
    </message>
    <message>
        <source>the repaired copy could not be written; the folder may be full or read-only</source>
        <translation>la copie réparée n&apos;a pas pu être écrite ; le dossier est peut-être plein ou en lecture seule</translation>
    </message>
    <message>
        <source>the repaired copy did not play correctly</source>
        <translation>la copie réparée ne s&apos;est pas lue correctement</translation>
    </message>
    <message>
        <source>These recordings were not finished when the program last ended:</source>
        <translation>Ces enregistrements n&apos;étaient pas terminés lors de la dernière fermeture du programme :</translation>
    </message>
    <message>
        <source>%1 has been repaired and plays for %2 s.</source>
        <translation>%1 a été réparé et dure %2 s.</translation>
    </message>
    <message>
        <source>%1 could not be repaired: %2. The file has been kept as it was.</source>
        <translation>%1 n&apos;a pas pu être réparé : %2. Le fichier a été conservé tel quel.</translation>
    </message>
</context>
<context>
    <name>SettingsToolWindow</name>
    <message>
        <source>Setting</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Flicker</source>
        <translation>Scintillement</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Résolution</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Prise de vue</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Unique</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Intervalle</translation>
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
        <translation>Photos</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Parcourir</translation>
    </message>
    <message>
        <source>RecordingSave</source>
        <translation>Vidéos</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Vidéos</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>Using a recording resolution of %1x%2 may cause low framerate when the PC isn&apos;t powerful. Continue?</source>
        <translation>Une résolution d’enregistrement de %1x%2 peut réduire la fréquence d’images si le PC n’est pas assez puissant. Continuer&#x202f;?</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50&#xa0;Hz</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60&#xa0;Hz</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>The program speaks %1 from its next start.</source>
        <translation>Le programme parlera %1 dès son prochain démarrage.</translation>
    </message>
</context>
<context>
    <name>SnapshotWriter</name>
    <message>
        <source>the picture cannot be encoded</source>
        <translation>l&apos;image ne peut pas être encodée</translation>
    </message>
    <message>
        <source>not enough free space in the snapshot folder</source>
        <translation>pas assez d&apos;espace libre dans le dossier des photos</translation>
    </message>
</context>
<context>
    <name>StartupFiles</name>
    <message>
        <source>The file or folder %1 does not exist.</source>
        <translation>Le fichier ou le dossier %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Impossible d&apos;accéder à %1.</translation>
    </message>
    <message>
        <source>The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>Le dossier %1 ne contient aucune image pouvant être affichée (BMP, JPEG, PNG ou GIF).</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).</source>
        <translation>%1 n&apos;est pas une image pouvant être affichée (BMP, JPEG, PNG ou GIF).</translation>
    </message>
    <message>
        <source>%1 cannot be played: it is not a film, or it is damaged.</source>
        <translation>Impossible de lire %1 : ce n&apos;est pas un film, ou le fichier est endommagé.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>The program starts in Live mode instead.</source>
        <translation>Le programme démarre à la place en mode « Direct ».</translation>
    </message>
    <message>
        <source>When the program last ended</source>
        <translation>À la dernière fermeture du programme</translation>
    </message>
    <message>
        <source>The settings file could not be read: it has been kept aside as %1, and the settings start afresh.</source>
        <translation>Le fichier des réglages n’a pas pu être lu : il a été mis de côté sous %1, et les réglages repartent de zéro.</translation>
    </message>
</context>
<context>
    <name>TextToolWindow</name>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
</context>
</TS>
