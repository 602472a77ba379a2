<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LearnerLevel</name>
    <message>
        <source>Beginner</source>
        <translation>Anfänger</translation>
    </message>
    <message>
        <source>Elementary</source>
        <translation>Grundstufe</translation>
    </message>
    <message>
        <source>Intermediate</source>
        <translation>Mittelstufe</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Fortgeschritten</translation>
    </message>
</context>
</TS>
