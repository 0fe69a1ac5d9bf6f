<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="15031">
        <source>Fallback OK</source>
        <translation>Fallback OK</translation>
    </message>
    <message id="15032">
        <source>Fallback Cancel</source>
        <translation>Fallback Cancel</translation>
    </message>
</context>
</TS>
