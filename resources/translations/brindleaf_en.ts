<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>brindleaf::ContentView</name>
    <message>
        <source>Open</source>
        <translation>Open Folder…</translation>
    </message>
    <message>
        <source>StartIndex</source>
        <translation>Start number</translation>
    </message>
    <message>
        <source>NumDigits</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>Postfix</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>NatSort</source>
        <translation>Natural sort</translation>
    </message>
    <message>
        <source>SortReplacingRemovingSpace</source>
        <translation>Ignore spaces when sorting</translation>
    </message>
    <message>
        <source>SortReplacingSpaceToUnderbar</source>
        <translation>Sort spaces as underscores</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Reverse order</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>Rename…</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirm Renaming</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>ProceedRenaming</source>
        <translation>Rename every entry of this folder as the preview shows?</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Renaming… %1 of %2 moves</source>
        <translation>Renaming… %1 of %2 moves</translation>
    </message>
</context>
<context>
    <name>brindleaf::PreviewListView</name>
    <message>
        <source>Drop a folder here</source>
        <translation>Drop a folder here</translation>
    </message>
</context>
</TS>
