<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>Área de dibujo</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>Seleccionar monitor</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>Rotación de la tableta</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>Definir teclas</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>Guardar configuración</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>¡Salir del controlador!</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>Asignar la tableta a</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>Asignar la tableta a todos los monitores</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>Todos los monitores</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>Todos los monitores</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>Ángulo de trabajo de la tableta:</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>Girar la tableta a:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
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
        <source>Press the tablet button to be customized</source>
        <translation>Pulse el botón de la tableta que desea personalizar</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>Tecla: </translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>Teclado:</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     Rueda:   Arriba</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Abajo</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>Ratón:</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>Botón: </translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  Izquierdo</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Central</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Derecho</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>¡Se guardará la configuración actual!</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>¡Se sobrescribirá la configuración anterior!</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>¡El controlador de la tableta se cerrará! 
 ¡Guarde antes la configuración!</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>Al salir de este programa se detendrá Pen Host. ¿Salir de todos modos?</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>¡Tableta desconectada!</translation>
    </message>
</context>
</TS>
