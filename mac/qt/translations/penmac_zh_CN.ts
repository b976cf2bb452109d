<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>penmac</name>
    <message>
        <source>Draw Panel</source>
        <translation>测试绘画区</translation>
    </message>
    <message>
        <source>Screens Select</source>
        <translation>选择屏幕</translation>
    </message>
    <message>
        <source>Tablet Rotate</source>
        <translation>数位板旋转</translation>
    </message>
    <message>
        <source>Button Binding</source>
        <translation>按键定义</translation>
    </message>
    <message>
        <source>Save Config</source>
        <translation>保存配置</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Exit Driver!</source>
        <translation>退出驱动！</translation>
    </message>
    <message>
        <source>Map Tablet to</source>
        <translation>数位板映射到</translation>
    </message>
    <message>
        <source>Map Tablet to Multi-Screen</source>
        <translation>数位板映射到全部显示器</translation>
    </message>
    <message>
        <source>Multi-Screen</source>
        <translation>全部显示器</translation>
    </message>
    <message>
        <source>Multi Screens</source>
        <translation>全部显示器</translation>
    </message>
    <message>
        <source>Tablet Working Angle:</source>
        <translation>数位板工作角度：</translation>
    </message>
    <message>
        <source>Tablet Rotate to:</source>
        <translation>数位板旋转到：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Press the tablet button to be customized</source>
        <translation>请按下要自定义的数位板按键</translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>按键：</translation>
    </message>
    <message>
        <source>KeyBoard:</source>
        <translation>键盘：</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>     Wheel:   Up</source>
        <translation>     滚轮：   上</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Mouse:</source>
        <translation>鼠标：</translation>
    </message>
    <message>
        <source>Button: </source>
        <translation>按钮：</translation>
    </message>
    <message>
        <source>  Left</source>
        <translation>  左键</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>Current Configuration Will be Saved!</source>
        <translation>将保存当前配置！</translation>
    </message>
    <message>
        <source>Previous Configuration will be Overwritten!</source>
        <translation>之前的配置将被覆盖！</translation>
    </message>
    <message>
        <source>Tablet Driver will Exit! 
 Please Save Config First!</source>
        <translation>数位板驱动即将退出！ 
 请先保存配置！</translation>
    </message>
    <message>
        <source>Quit this program will terminate Pen Host! Are you sure?</source>
        <translation>退出本程序将终止 Pen Host！确定要退出吗？</translation>
    </message>
    <message>
        <source>Tablet Disconnected!</source>
        <translation>数位板未连接！</translation>
    </message>
</context>
</TS>
