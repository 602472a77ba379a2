<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FluencyLevel</name>
    <message>
        <source>Beginner</source>
        <translation>Anfänger</translation>
    </message>
    <message>
        <source>Intermediate</source>
        <translation>Mittelstufe</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Fortgeschritten</translation>
    </message>
    <message>
        <source>Fluent</source>
        <translation>Fließend</translation>
    </message>
    <message>
        <source>Native</source>
        <translation>Muttersprache</translation>
    </message>
</context>
</TS>
