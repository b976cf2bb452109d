<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>Draw Panel</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>Screens Select</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>Tablet Rotate</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>Button Binding</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>Save Config</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>Exit Driver!</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>Map Tablet to</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>Map Tablet to Multi-Screen</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>Multi-Screen</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>Multi Screens</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>Tablet Working Angle:</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>Tablet Rotate to:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Press the tablet button to be customized</source>
        <translation>Press the tablet button to be customized</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>Key: </translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>KeyBoard:</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     Wheel:   Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>Mouse:</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>Button: </translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  Left</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>Current Configuration Will be Saved!</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>Previous Configuration will be Overwritten!</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>Tablet Driver will Exit! 
 Please Save Config First!</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>Quit this program will terminate Pen Host! Are you sure?</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>Tablet Disconnected!</translation>
    </message>
</context>
</TS>
