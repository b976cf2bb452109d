<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>Zone de dessin</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>Choix de l&apos;écran</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>Rotation de la tablette</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>Définir les touches</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>Enregistrer la configuration</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>Quitter le pilote !</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>Associer la tablette à</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>Associer la tablette à tous les écrans</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>Tous les écrans</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>Tous les écrans</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>Angle de travail de la tablette :</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>Tourner la tablette de :</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
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
        <source>Press the tablet button to be customized</source>
        <translation>Appuyez sur la touche de la tablette à personnaliser</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>Touche : </translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>Clavier :</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     Molette :   Haut</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>Souris :</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>Bouton : </translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  Gauche</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Milieu</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>La configuration actuelle va être enregistrée !</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>La configuration précédente sera remplacée !</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>Le pilote de la tablette va se fermer ! 
 Enregistrez d&apos;abord la configuration !</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>Quitter ce programme arrêtera Pen Host ! Le quitter quand même ?</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>Tablette déconnectée !</translation>
    </message>
</context>
</TS>
