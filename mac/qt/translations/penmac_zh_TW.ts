<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>測試繪圖區</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>選擇螢幕</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>繪圖板旋轉</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>按鍵定義</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>儲存設定</translation>
    </message>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>結束驅動程式！</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>繪圖板對應到</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>繪圖板對應到所有螢幕</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>所有螢幕</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>所有螢幕</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>繪圖板工作角度：</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>繪圖板旋轉到：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Press the tablet button to be customized</source>
        <translation>請按下要自訂的繪圖板按鍵</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>按鍵：</translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>鍵盤：</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     滾輪：   上</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>滑鼠：</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>按鈕：</translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  左鍵</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中鍵</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右鍵</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>將儲存目前的設定！</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>先前的設定將被覆寫！</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>繪圖板驅動程式即將結束！ 
 請先儲存設定！</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>結束本程式將終止 Pen Host！確定要結束嗎？</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>繪圖板未連接！</translation>
    </message>
</context>
</TS>
