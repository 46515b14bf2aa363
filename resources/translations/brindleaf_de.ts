<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>brindleaf::ContentView</name>
    <message>
        <source>Open</source>
        <translation>Ordner &amp;öffnen…</translation>
    </message>
    <message>
        <source>StartIndex</source>
        <translation>&amp;Startnummer</translation>
    </message>
    <message>
        <source>NumDigits</source>
        <translation>S&amp;tellen</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>&amp;Präfix</translation>
    </message>
    <message>
        <source>Postfix</source>
        <translation>Su&amp;ffix</translation>
    </message>
    <message>
        <source>NatSort</source>
        <translation>&amp;Natürliche Sortierung</translation>
    </message>
    <message>
        <source>SortReplacingRemovingSpace</source>
        <translation>Leerzeichen beim Sortieren &amp;ignorieren</translation>
    </message>
    <message>
        <source>SortReplacingSpaceToUnderbar</source>
        <translation>Leerzeichen &amp;als Unterstriche sortieren</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umgekehrte &amp;Reihenfolge</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>&amp;Umbenennen…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgän&amp;gig…</translation>
    </message>
    <message>
        <source>Give the entries of the last renaming their original names back</source>
        <translation>Den Einträgen der letzten Umbenennung ihre ursprünglichen Namen zurückgeben</translation>
    </message>
    <message>
        <source>Keep extensions</source>
        <translation>&amp;Endungen behalten</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln Eintrag</numerusform>
            <numerusform>%Ln Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln change extension</source>
        <translation>
            <numerusform>%Ln ändert die Endung</numerusform>
            <numerusform>%Ln ändern die Endung</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folders</source>
        <translation>
            <numerusform>%Ln Ordner</numerusform>
            <numerusform>%Ln Ordner</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln hidden</source>
        <translation>
            <numerusform>%Ln versteckt</numerusform>
            <numerusform>%Ln versteckt</numerusform>
        </translation>
    </message>
    <message>
        <source>every entry already has its new name</source>
        <translation>jeder Eintrag hat schon seinen neuen Namen</translation>
    </message>
    <message>
        <source>Order by</source>
        <translation>&amp;Ordnen nach</translation>
    </message>
    <message>
        <source>Only extensions</source>
        <translation>Nur &amp;diese Endungen</translation>
    </message>
    <message>
        <source>Keep related files together</source>
        <translation>&amp;Zusammengehörige Dateien zusammenhalten</translation>
    </message>
    <message>
        <source>Skip hidden entries</source>
        <translation>&amp;Versteckte Einträge auslassen</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>&amp;Keine Ordner</translation>
    </message>
    <message>
        <source>Show pictures</source>
        <translation>&amp;Bilder zeigen</translation>
    </message>
    <message numerus="yes">
        <source>%Ln left out</source>
        <translation>
            <numerusform>%Ln ausgelassen</numerusform>
            <numerusform>%Ln ausgelassen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln without a date taken</source>
        <translation>
            <numerusform>%Ln ohne Aufnahmedatum</numerusform>
            <numerusform>%Ln ohne Aufnahmedatum</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln photos from a camera without a time zone, read as this computer's</source>
        <translation>
            <numerusform>%Ln Foto von einer Kamera ohne Zeitzone, in der Zeitzone dieses Computers gelesen</numerusform>
            <numerusform>%Ln Fotos von Kameras ohne Zeitzone, in der Zeitzone dieses Computers gelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cameras…</source>
        <translation>Ka&amp;meras…</translation>
    </message>
    <message>
        <source>Set each camera's time zone and clock for the order</source>
        <translation>Zeitzone und Uhr jeder Kamera für die Reihenfolge einstellen</translation>
    </message>
    <message>
        <source>Reading dates… %1 of %2</source>
        <translation>Daten werden gelesen… %1 von %2</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Getting the run ready…</source>
        <translation>Der Lauf wird vorbereitet…</translation>
    </message>
    <message>
        <source>Renaming… %1 of %2 entries</source>
        <translation>Umbenennen… %1 von %2 Einträgen</translation>
    </message>
</context>
<context>
    <name>brindleaf::PreviewListView</name>
    <message>
        <source>Drop a folder here</source>
        <translation>Ordner hierher ziehen</translation>
    </message>
    <message>
        <source>This folder is empty</source>
        <translation>Dieser Ordner ist leer</translation>
    </message>
    <message>
        <source>Reading the folder…</source>
        <translation>Ordner wird gelesen…</translation>
    </message>
    <message>
        <source>Current name</source>
        <translation>Aktueller Name</translation>
    </message>
    <message>
        <source>New name</source>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>Date numbered by</source>
        <translation>Datum der Nummerierung</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Renaming…</source>
        <translation>Wird umbenannt…</translation>
    </message>
</context>
<context>
    <name>UndoMessages</name>
    <message>
        <source>The records of past renamings in “%1” cannot be used: %2. Until that is put right, nothing can be renamed or undone.</source>
        <translation>Die Protokolle früherer Umbenennungen in „%1“ können nicht verwendet werden: %2. Bis das behoben ist, lässt sich nichts umbenennen oder rückgängig machen.</translation>
    </message>
    <message>
        <source>The records of past renamings cannot be used: %1. Nothing was changed.</source>
        <translation>Die Protokolle früherer Umbenennungen können nicht verwendet werden: %1. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The last renaming in “%1” did not finish, so some entries may still have temporary names. Give every entry its original name back now?</source>
        <translation>Die letzte Umbenennung in „%1“ wurde nicht abgeschlossen; einige Einträge tragen womöglich noch vorläufige Namen. Jetzt allen Einträgen ihre ursprünglichen Namen zurückgeben?</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of “%1” right now. Nothing was changed.</source>
        <translation>Ein anderes Programm benennt gerade die Einträge von „%1“ um. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>There is nothing to undo in this folder.</source>
        <translation>In diesem Ordner gibt es nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>The folder cannot be read: %1</source>
        <translation>Der Ordner kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of this folder right now.</source>
        <translation>Ein anderes Programm benennt gerade die Einträge dieses Ordners um.</translation>
    </message>
    <message>
        <source>The record of the last renaming is damaged, so it cannot be undone. Nothing was changed.</source>
        <translation>Das Protokoll der letzten Umbenennung ist beschädigt, daher kann sie nicht rückgängig gemacht werden. Es wurde nichts geändert.</translation>
    </message>
    <message numerus="yes">
        <source>Gave %Ln entries their original names back.</source>
        <translation>
            <numerusform>%Ln Eintrag hat seinen ursprünglichen Namen zurück.</numerusform>
            <numerusform>%Ln Einträge haben ihre ursprünglichen Namen zurück.</numerusform>
        </translation>
    </message>
    <message>
        <source>The undo was stopped.</source>
        <translation>Das Rückgängigmachen wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The undo failed: %1</source>
        <translation>Das Rückgängigmachen ist fehlgeschlagen: %1</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries it names can be read; %Ln of those are still under a new or temporary name. Give the entries it can tell their original names back?</source>
        <translation>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ ist beschädigt, aber %L3 der %L4 darin genannten Einträge sind lesbar; %Ln davon trägt noch einen neuen oder vorläufigen Namen. Den lesbaren Einträgen ihre ursprünglichen Namen zurückgeben?</numerusform>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ ist beschädigt, aber %L3 der %L4 darin genannten Einträge sind lesbar; %Ln davon tragen noch einen neuen oder vorläufigen Namen. Den lesbaren Einträgen ihre ursprünglichen Namen zurückgeben?</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of that renaming was damaged; the entries it could still tell were taken into account.</source>
        <translation>Das Protokoll dieser Umbenennung war beschädigt; berücksichtigt wurden die Einträge, die es noch nennen konnte.</translation>
    </message>
    <message numerus="yes">
        <source>The record of that renaming was damaged: %Ln entries it named could not be read and keep the names they have now. The damaged record is kept, and the folder is not renamed until it is set aside.</source>
        <translation>
            <numerusform>Das Protokoll dieser Umbenennung war beschädigt: %Ln darin genannter Eintrag war nicht lesbar und behält seinen jetzigen Namen. Das beschädigte Protokoll bleibt erhalten, und der Ordner wird erst wieder umbenannt, wenn es beiseitegelegt ist.</numerusform>
            <numerusform>Das Protokoll dieser Umbenennung war beschädigt: %Ln darin genannte Einträge waren nicht lesbar und behalten ihre jetzigen Namen. Das beschädigte Protokoll bleibt erhalten, und der Ordner wird erst wieder umbenannt, wenn es beiseitegelegt ist.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>All %Ln entries are back under their original names; Undo completes the record.</source>
        <translation>
            <numerusform>%Ln Eintrag hat seinen ursprünglichen Namen wieder; „Rückgängig“ vervollständigt das Protokoll.</numerusform>
            <numerusform>Alle %Ln Einträge haben ihre ursprünglichen Namen wieder; „Rückgängig“ vervollständigt das Protokoll.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%L1 of %Ln entries are back under their original names; Undo gives back the rest.</source>
        <translation>
            <numerusform>%L1 von %Ln Eintrag hat seinen ursprünglichen Namen wieder; „Rückgängig“ gibt den übrigen ihre Namen zurück.</numerusform>
            <numerusform>%L1 von %Ln Einträgen haben ihre ursprünglichen Namen wieder; „Rückgängig“ gibt den übrigen ihre Namen zurück.</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder could not be flushed to disk: %1</source>
        <translation>Der Ordner konnte nicht auf die Festplatte geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The record of the renaming could not be updated: %1</source>
        <translation>Das Protokoll der Umbenennung konnte nicht aktualisiert werden: %1</translation>
    </message>
    <message>
        <source>The undo could not start: %1 Nothing was changed.</source>
        <translation>Das Rückgängigmachen konnte nicht beginnen: %1 Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>This file system does not keep inode numbers, so entries were recognised by name, size and modification time.</source>
        <translation>Dieses Dateisystem behält keine Inode-Nummern, daher wurden die Einträge an Name, Größe und Änderungszeit erkannt.</translation>
    </message>
    <message>
        <source>not found under any name the renaming gave it</source>
        <translation>unter keinem Namen zu finden, den die Umbenennung ihm gab</translation>
    </message>
    <message>
        <source>another entry stands under its new name</source>
        <translation>unter seinem neuen Namen steht ein anderer Eintrag</translation>
    </message>
    <message>
        <source>the entry under its new name differs in size</source>
        <translation>der Eintrag unter seinem neuen Namen hat eine andere Größe</translation>
    </message>
    <message>
        <source>the entry under its new name differs in modification time</source>
        <translation>der Eintrag unter seinem neuen Namen hat eine andere Änderungszeit</translation>
    </message>
    <message>
        <source>more than one entry looks like it</source>
        <translation>mehr als ein Eintrag sieht ihm gleich</translation>
    </message>
    <message>
        <source>another entry holds its original name</source>
        <translation>ein anderer Eintrag trägt seinen ursprünglichen Namen</translation>
    </message>
    <message>
        <source>today %1</source>
        <translation>heute %1</translation>
    </message>
    <message numerus="yes">
        <source>Give the %Ln entries of the renaming of %2 in “%1” their original names back?</source>
        <translation>
            <numerusform>Dem Eintrag der Umbenennung von %2 in „%1“ seinen ursprünglichen Namen zurückgeben?</numerusform>
            <numerusform>Den %Ln Einträgen der Umbenennung von %2 in „%1“ ihre ursprünglichen Namen zurückgeben?</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of the last renaming in “%1” is damaged, so whether it finished cannot be told, and nothing can be renamed until it is dealt with: Undo gives back the entries it can still tell, or sets it aside.</source>
        <translation>Das Protokoll der letzten Umbenennung in „%1“ ist beschädigt, daher lässt sich nicht sagen, ob sie abgeschlossen wurde, und bis dahin kann nichts umbenannt werden: „Rückgängig“ gibt den Einträgen, die es noch nennt, ihre Namen zurück oder legt es beiseite.</translation>
    </message>
    <message>
        <source>Every entry of that renaming had its original name already.</source>
        <translation>Jeder Eintrag dieser Umbenennung hatte seinen ursprünglichen Namen schon.</translation>
    </message>
    <message>
        <source>No entry could be given its original name back, so nothing was changed; the renaming can still be undone.</source>
        <translation>Keinem Eintrag konnte sein ursprünglicher Name zurückgegeben werden; nichts wurde geändert, und die Umbenennung lässt sich weiterhin rückgängig machen.</translation>
    </message>
    <message>
        <source>These entries were left alone; Undo tries them again:</source>
        <translation>Diese Einträge blieben, wie sie sind; „Rückgängig“ versucht es erneut:</translation>
    </message>
    <message>
        <source>These are the names the interrupted renaming left, some of them temporary. Undo gives the entries their original names back; nothing can be renamed until then.</source>
        <translation>Das sind die Namen, die die unterbrochene Umbenennung hinterlassen hat, manche davon vorläufig. „Rückgängig“ gibt den Einträgen ihre ursprünglichen Namen zurück; bis dahin kann nichts umbenannt werden.</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. It names %L3 entries, of which %L4 can be read; %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ kann nicht gelesen und daher nicht rückgängig gemacht werden. Es nennt %L3 Einträge, von denen %L4 lesbar sind; davon trägt %Ln noch einen neuen oder vorläufigen Namen. Das Protokoll beiseitelegen, damit der Ordner wieder umbenannt werden kann? Kein Eintrag wird verschoben, und das Protokoll bleibt erhalten.</numerusform>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ kann nicht gelesen und daher nicht rückgängig gemacht werden. Es nennt %L3 Einträge, von denen %L4 lesbar sind; davon tragen %Ln noch einen neuen oder vorläufigen Namen. Das Protokoll beiseitelegen, damit der Ordner wieder umbenannt werden kann? Kein Eintrag wird verschoben, und das Protokoll bleibt erhalten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. How many entries it names cannot be told; %L3 can be read, and %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ kann nicht gelesen und daher nicht rückgängig gemacht werden. Wie viele Einträge es nennt, lässt sich nicht sagen; %L3 sind lesbar, und davon trägt %Ln noch einen neuen oder vorläufigen Namen. Das Protokoll beiseitelegen, damit der Ordner wieder umbenannt werden kann? Kein Eintrag wird verschoben, und das Protokoll bleibt erhalten.</numerusform>
            <numerusform>Das Protokoll der Umbenennung von %1 in „%2“ kann nicht gelesen und daher nicht rückgängig gemacht werden. Wie viele Einträge es nennt, lässt sich nicht sagen; %L3 sind lesbar, und davon tragen %Ln noch einen neuen oder vorläufigen Namen. Das Protokoll beiseitelegen, damit der Ordner wieder umbenannt werden kann? Kein Eintrag wird verschoben, und das Protokoll bleibt erhalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is now “%2”</source>
        <translation>„%1“ heißt jetzt „%2“</translation>
    </message>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>und %Ln weiterer</numerusform>
            <numerusform>und %Ln weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorMessages</name>
    <message>
        <source>A new name would contain “/”, which no file name can hold.</source>
        <translation>Ein neuer Name enthielte „/“, das kein Dateiname enthalten kann.</translation>
    </message>
    <message>
        <source>A new name would contain a NUL character, which no file name can hold.</source>
        <translation>Ein neuer Name enthielte ein NUL-Zeichen, das kein Dateiname enthalten kann.</translation>
    </message>
    <message>
        <source>The new names would be longer than the %1 bytes a name can have here.</source>
        <translation>Die neuen Namen wären länger als die %1 Bytes, die ein Name hier haben kann.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be read: %2</source>
        <translation>Der Ordner „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The new names cannot be given: %1 Nothing was renamed.</source>
        <translation>Die neuen Namen können nicht vergeben werden: %1 Es wurde nichts umbenannt.</translation>
    </message>
    <message>
        <source>The record of this renaming cannot be written in “%1”: %2. Nothing was renamed.</source>
        <translation>Das Protokoll dieser Umbenennung kann nicht in „%1“ geschrieben werden: %2. Es wurde nichts umbenannt.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to disk: %2. Its names may not survive a power cut; Undo can still restore them.</source>
        <translation>Der Ordner „%1“ kann nicht auf die Festplatte geschrieben werden: %2. Seine Namen überstehen womöglich keinen Stromausfall; „Rückgängig“ kann sie weiterhin wiederherstellen.</translation>
    </message>
    <message numerus="yes">
        <source>The folder “%1” cannot be written to disk: %2. %Ln entries have their new names but may lose them in a power cut; Undo can still restore them.</source>
        <translation>
            <numerusform>Der Ordner „%1“ kann nicht auf die Festplatte geschrieben werden: %2. %Ln Eintrag hat seinen neuen Namen, verliert ihn aber womöglich bei einem Stromausfall; „Rückgängig“ kann ihn weiterhin wiederherstellen.</numerusform>
            <numerusform>Der Ordner „%1“ kann nicht auf die Festplatte geschrieben werden: %2. %Ln Einträge haben ihre neuen Namen, verlieren sie aber womöglich bei einem Stromausfall; „Rückgängig“ kann sie weiterhin wiederherstellen.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: %3.</source>
        <translation>„%1“ kann nicht in „%2“ umbenannt werden: %3.</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to hold the new name with an empty placeholder (%3).</source>
        <translation>„%1“ kann nicht in „%2“ umbenannt werden: Dieses Dateisystem kann nicht umbenennen, ohne zu ersetzen, und es hat verweigert, den neuen Namen mit einem leeren Platzhalter zu belegen (%3).</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to move the entry onto the empty placeholder that held its new name (%3).</source>
        <translation>„%1“ kann nicht in „%2“ umbenannt werden: Dieses Dateisystem kann nicht umbenennen, ohne zu ersetzen, und es hat verweigert, den Eintrag auf den leeren Platzhalter seines neuen Namens zu verschieben (%3).</translation>
    </message>
    <message>
        <source>The renaming was stopped.</source>
        <translation>Die Umbenennung wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Every entry is back under its original name.</source>
        <translation>Alle Einträge tragen wieder ihre ursprünglichen Namen.</translation>
    </message>
    <message>
        <source>These entries could not be given their names back yet; Undo can try again:</source>
        <translation>Diese Einträge haben ihre Namen noch nicht zurück; „Rückgängig“ kann es erneut versuchen:</translation>
    </message>
    <message>
        <source>An empty placeholder could not be removed and was left behind: “%1”</source>
        <translation>Ein leerer Platzhalter konnte nicht entfernt werden und ist liegen geblieben: „%1“</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>er ist ein symbolischer Link</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>er ist kein Ordner</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users may write to it</source>
        <translation>andere Benutzer dürfen hineinschreiben</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries were renamed, but the record of the renaming cannot be completed: %1. The renaming stays recorded as unfinished: Undo gives the entries their original names back.</source>
        <translation>
            <numerusform>%Ln Eintrag wurde umbenannt, aber das Protokoll der Umbenennung kann nicht abgeschlossen werden: %1. Die Umbenennung bleibt als unvollständig verzeichnet: „Rückgängig“ gibt dem Eintrag seinen ursprünglichen Namen zurück.</numerusform>
            <numerusform>%Ln Einträge wurden umbenannt, aber das Protokoll der Umbenennung kann nicht abgeschlossen werden: %1. Die Umbenennung bleibt als unvollständig verzeichnet: „Rückgängig“ gibt den Einträgen ihre ursprünglichen Namen zurück.</numerusform>
        </translation>
    </message>
    <message>
        <source>A new name is held by an entry left out of the numbering, which is never moved out of the way.</source>
        <translation>Ein neuer Name gehört einem ausgelassenen Eintrag, der nie aus dem Weg verschoben wird.</translation>
    </message>
</context>
<context>
    <name>brindleaf::RunDialogs</name>
    <message>
        <source>No folder is chosen, so nothing will be renamed.</source>
        <translation>Es ist kein Ordner gewählt, daher wird nichts umbenannt.</translation>
    </message>
    <message>
        <source>“%1” is empty, so nothing will be renamed.</source>
        <translation>„%1“ ist leer, daher wird nichts umbenannt.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries in “%1” get new names.</source>
        <translation>
            <numerusform>%Ln Eintrag in „%1“ erhält einen neuen Namen.</numerusform>
            <numerusform>%Ln Einträge in „%1“ erhalten neue Namen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Umbenennen bestätigen</translation>
    </message>
    <message>
        <source>ProceedRenaming</source>
        <translation>Die Einträge dieses Ordners wie in der Vorschau umbenennen?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Umbenennen</translation>
    </message>
    <message numerus="yes">
        <source>Renamed %Ln entries.</source>
        <translation>
            <numerusform>%Ln Eintrag umbenannt.</numerusform>
            <numerusform>%Ln Einträge umbenannt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln had their new names already.</source>
        <translation>
            <numerusform>%Ln hatte seinen neuen Namen schon.</numerusform>
            <numerusform>%Ln hatten ihre neuen Namen schon.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every entry already has its new name; nothing was renamed.</source>
        <translation>Jeder Eintrag hat schon seinen neuen Namen; nichts wurde umbenannt.</translation>
    </message>
    <message>
        <source>The folder changed after its preview was shown. The preview now shows it as it is. Rename the entries as it shows them now?</source>
        <translation>Der Ordner hat sich geändert, nachdem seine Vorschau angezeigt wurde. Die Vorschau zeigt ihn jetzt, wie er ist. Die Einträge so umbenennen, wie sie jetzt angezeigt werden?</translation>
    </message>
    <message>
        <source>Undo Renaming</source>
        <translation>Umbenennung rückgängig machen</translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>accepts the undo confirmation</comment>
        <translation>Rückgängig machen</translation>
    </message>
    <message>
        <source>Restore the original names</source>
        <translation>Ursprüngliche Namen wiederherstellen</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Jetzt nicht</translation>
    </message>
    <message>
        <source>Damaged Record</source>
        <translation>Beschädigtes Protokoll</translation>
    </message>
    <message>
        <source>Set the record aside</source>
        <translation>Protokoll beiseitelegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The damaged record was set aside; no entry was moved.</source>
        <translation>Das beschädigte Protokoll wurde beiseitegelegt; kein Eintrag wurde verschoben.</translation>
    </message>
    <message>
        <source>Stopped; every entry is back under its name.</source>
        <translation>Abgebrochen; alle Einträge tragen wieder ihre Namen.</translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %Ln entries could not be given their names back; Undo can try again.</source>
        <translation>
            <numerusform>Abgebrochen; %Ln Eintrag hat seinen Namen nicht zurückerhalten; „Rückgängig“ kann es erneut versuchen.</numerusform>
            <numerusform>Abgebrochen; %Ln Einträge haben ihre Namen nicht zurückerhalten; „Rückgängig“ kann es erneut versuchen.</numerusform>
        </translation>
    </message>
    <message>
        <source>The choices leave every entry of “%1” out, so nothing will be renamed.</source>
        <translation>Die Auswahl lässt alle Einträge von „%1“ aus, daher wird nichts umbenannt.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries are left out and keep their names.</source>
        <translation>
            <numerusform>%Ln Eintrag wird ausgelassen und behält seinen Namen.</numerusform>
            <numerusform>%Ln Einträge werden ausgelassen und behalten ihre Namen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>brindleaf::OrderChoice</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date modified</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Date taken</source>
        <translation>Aufnahmedatum</translation>
    </message>
</context>
<context>
    <name>brindleaf::DateText</name>
    <message>
        <source>%1 (corrected)</source>
        <translation>%1 (korrigiert)</translation>
    </message>
    <message>
        <source>%1 (modified)</source>
        <translation>%1 (Änderungsdatum)</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraListModel</name>
    <message>
        <source>its offset tags; without them, the zone given</source>
        <translation>seine Zeitzonen-Tags; ohne sie die angegebene Zeitzone</translation>
    </message>
    <message>
        <source>the zone given</source>
        <translation>die angegebene Zeitzone</translation>
    </message>
    <message>
        <source>its offset tags</source>
        <translation>seine Zeitzonen-Tags</translation>
    </message>
    <message>
        <source>none: read as this computer's zone, %1</source>
        <translation>keine: in der Zeitzone dieses Computers gelesen, %1</translation>
    </message>
    <message>
        <source>%1 (%2 of %3 entries; the others by their offset tags)</source>
        <translation>%1 (%2 von %3 Einträgen; die übrigen nach ihren Zeitzonen-Tags)</translation>
    </message>
    <message>
        <source>The zone this camera's clock was set to, such as +01:00, -05:30 or UTC; a zone written in a photo still wins</source>
        <translation>Die Zeitzone, auf die die Uhr dieser Kamera gestellt war, etwa +01:00, -05:30 oder UTC; eine im Foto gespeicherte Zeitzone hat Vorrang</translation>
    </message>
    <message>
        <source>How far to set this camera's clock right, such as -0:03:12</source>
        <translation>Um wie viel die Uhr dieser Kamera zu korrigieren ist, etwa -0:03:12</translation>
    </message>
    <message>
        <source>The picture is of the first photo this camera took, or of its first video when it took none</source>
        <translation>Das Bild zeigt das erste Foto, das diese Kamera aufgenommen hat, oder ihr erstes Video, wenn sie kein Foto aufgenommen hat</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>First taken</source>
        <translation>Erste Aufnahme</translation>
    </message>
    <message>
        <source>Last taken</source>
        <translation>Letzte Aufnahme</translation>
    </message>
    <message>
        <source>Time zone from</source>
        <translation>Zeitzone aus</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Zeitzone</translation>
    </message>
    <message>
        <source>Clock correction</source>
        <translation>Uhrkorrektur</translation>
    </message>
    <message>
        <source>A time zone is written as +01:00, -05:30 or UTC, not “%1”.</source>
        <translation>Eine Zeitzone wird als +01:00, -05:30 oder UTC geschrieben, nicht „%1“.</translation>
    </message>
    <message>
        <source>A clock correction is written as -0:03:12 or +1:00:00 (hours, minutes, seconds), not “%1”.</source>
        <translation>Eine Uhrkorrektur wird als -0:03:12 oder +1:00:00 (Stunden, Minuten, Sekunden) geschrieben, nicht „%1“.</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraDialog</name>
    <message>
        <source>Cameras</source>
        <translation>Kameras</translation>
    </message>
    <message>
        <source>A photo without a time zone of its own is read in the zone given for its camera, else in this computer's. A clock correction sets a camera's clock right. Only the order uses them: no file is changed.</source>
        <translation>Ein Foto ohne eigene Zeitzone wird in der für seine Kamera angegebenen Zeitzone gelesen, sonst in der dieses Computers. Eine Uhrkorrektur stellt die Uhr einer Kamera richtig. Beides gilt nur für die Reihenfolge: Keine Datei wird geändert.</translation>
    </message>
</context>
</TS>
