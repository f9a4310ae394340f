<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>彩色</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>黑白</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>負片</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>馬賽克</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>最適大小</translation>
    </message>
</context>
</TS>
