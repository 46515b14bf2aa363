<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>brindleaf::ContentView</name>
    <message>
        <source>Open</source>
        <translation>Ordner öffnen…</translation>
    </message>
    <message>
        <source>StartIndex</source>
        <translation>Startnummer</translation>
    </message>
    <message>
        <source>NumDigits</source>
        <translation>Stellen</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <source>Postfix</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>NatSort</source>
        <translation>Natürliche Sortierung</translation>
    </message>
    <message>
        <source>SortReplacingRemovingSpace</source>
        <translation>Leerzeichen beim Sortieren ignorieren</translation>
    </message>
    <message>
        <source>SortReplacingSpaceToUnderbar</source>
        <translation>Leerzeichen als Unterstriche sortieren</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umgekehrte Reihenfolge</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>Umbenennen…</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Umbenennen bestätigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>ProceedRenaming</source>
        <translation>Alle Einträge dieses Ordners wie in der Vorschau umbenennen?</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Renaming… %1 of %2 moves</source>
        <translation>Umbenennen… %1 von %2 Schritten</translation>
    </message>
</context>
<context>
    <name>brindleaf::PreviewListView</name>
    <message>
        <source>Drop a folder here</source>
        <translation>Ordner hierher ziehen</translation>
    </message>
</context>
</TS>
