<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>カラー</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>白黒</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>ネガ</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>モザイク</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>全体表示</translation>
    </message>
</context>
</TS>
