<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>Couleur de remplissage</translation>
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
        <translation>Annoter</translation>
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
        <translation>Découper l&apos;image</translation>
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
        <translation>Pivoter</translation>
    </message>
    <message>
        <source>Rotate back</source>
        <translation>Pivoter en arrière</translation>
    </message>
    <message>
        <source>Freeze</source>
        <translation>Figer</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement</translation>
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
</context>
<context>
    <name>PrintControl</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>No printers found on this system.</source>
        <translation>Aucune imprimante n’a été trouvée sur ce système.</translation>
    </message>
</context>
<context>
    <name>RecordingControl</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Veuillez d’abord choisir un dossier.</translation>
    </message>
</context>
<context>
    <name>SnapshotControl</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Please select a folder first.</source>
        <translation>Veuillez d’abord choisir un dossier.</translation>
    </message>
</context>
</TS>
