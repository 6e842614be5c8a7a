<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr_FR">
<context>
    <name>Ctx</name>
    <message>
        <source>Pas fini</source>
        <translation type="unfinished">Not done</translation>
    </message>
    <message>
        <source>Vide</source>
        <translation></translation>
    </message>
    <message>
        <source>Fichier %1 sauvegardé.</source>
        <translation>File saved.</translation>
    </message>
    <message>
        <source>%1 sur %2</source>
        <translation>%1 of %1</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Bien &amp;fait : %1</source>
        <translation>Well &amp;done: %1</translation>
    </message>
    <message>
        <source>Ancien</source>
        <translation type="vanished">Old</translation>
    </message>
</context>
</TS>
