<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>OSDProcessor</name>
    <message>
        <source>Color</source>
        <translation>Цвет</translation>
    </message>
    <message>
        <source>B &amp; W</source>
        <translation>Ч/Б</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Негатив</translation>
    </message>
    <message>
        <source>Mosaic</source>
        <translation>Мозаика</translation>
    </message>
    <message>
        <source>Best fit</source>
        <translation>По размеру</translation>
    </message>
</context>
</TS>
