<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="15032">
        <source>Debug Cancel</source>
        <translation>Debug Cancel</translation>
    </message>
</context>
</TS>
