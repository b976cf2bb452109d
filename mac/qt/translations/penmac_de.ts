<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>Zeichenfläche</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>Bildschirm wählen</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>Tablett drehen</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>Tasten belegen</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>Konfiguration speichern</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>Treiber beenden!</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>Tablett abbilden auf</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>Tablett auf alle Bildschirme abbilden</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>Alle Bildschirme</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>Alle Bildschirme</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>Arbeitswinkel des Tabletts:</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>Tablett drehen auf:</translation>
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
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Press the tablet button to be customized</source>
        <translation>Bitte die Tablett-Taste drücken, die belegt werden soll</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>Taste: </translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>Tastatur:</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     Rad:   Auf</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Ab</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>Maus:</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>Taste: </translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  Links</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>Die aktuelle Konfiguration wird gespeichert!</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>Die bisherige Konfiguration wird überschrieben!</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>Der Tablett-Treiber wird beendet! 
 Bitte zuerst die Konfiguration speichern!</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>Wenn dieses Programm endet, wird Pen Host beendet! Wirklich beenden?</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>Tablett nicht verbunden!</translation>
    </message>
</context>
</TS>
