<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>brindleaf::ContentView</name>
    <message>
        <source>Open</source>
        <translation>&amp;Open Folder…</translation>
    </message>
    <message>
        <source>StartIndex</source>
        <translation>&amp;Start number</translation>
    </message>
    <message>
        <source>NumDigits</source>
        <translation>&amp;Digits</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>&amp;Prefix</translation>
    </message>
    <message>
        <source>Postfix</source>
        <translation>Su&amp;ffix</translation>
    </message>
    <message>
        <source>NatSort</source>
        <translation>&amp;Natural sort</translation>
    </message>
    <message>
        <source>SortReplacingRemovingSpace</source>
        <translation>&amp;Ignore spaces when sorting</translation>
    </message>
    <message>
        <source>SortReplacingSpaceToUnderbar</source>
        <translation>Sort spaces &amp;as underscores</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Re&amp;verse order</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>&amp;Rename…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>&amp;Undo…</translation>
    </message>
    <message>
        <source>Give the entries of the last renaming their original names back</source>
        <translation>Give the entries of the last renaming their original names back</translation>
    </message>
    <message>
        <source>Keep extensions</source>
        <translation>&amp;Keep extensions</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln entry</numerusform>
            <numerusform>%Ln entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln change extension</source>
        <translation>
            <numerusform>%Ln changes extension</numerusform>
            <numerusform>%Ln change extension</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folders</source>
        <translation>
            <numerusform>%Ln folder</numerusform>
            <numerusform>%Ln folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln hidden</source>
        <translation>
            <numerusform>%Ln hidden</numerusform>
            <numerusform>%Ln hidden</numerusform>
        </translation>
    </message>
    <message>
        <source>every entry already has its new name</source>
        <translation>every entry already has its new name</translation>
    </message>
    <message>
        <source>Order by</source>
        <translation>Order &amp;by</translation>
    </message>
    <message>
        <source>Only extensions</source>
        <translation>Only &amp;extensions</translation>
    </message>
    <message>
        <source>Keep related files together</source>
        <translation>Keep related files &amp;together</translation>
    </message>
    <message>
        <source>Skip hidden entries</source>
        <translation>Skip &amp;hidden entries</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>Fi&amp;les only</translation>
    </message>
    <message>
        <source>Show pictures</source>
        <translation>Sho&amp;w pictures</translation>
    </message>
    <message numerus="yes">
        <source>%Ln left out</source>
        <translation>
            <numerusform>%Ln left out</numerusform>
            <numerusform>%Ln left out</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln without a date taken</source>
        <translation>
            <numerusform>%Ln without a date taken</numerusform>
            <numerusform>%Ln without a date taken</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln photos from a camera without a time zone, read as this computer's</source>
        <translation>
            <numerusform>%Ln photo from a camera without a time zone, read as this computer's</numerusform>
            <numerusform>%Ln photos from a camera without a time zone, read as this computer's</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cameras…</source>
        <translation>&amp;Cameras…</translation>
    </message>
    <message>
        <source>Set each camera's time zone and clock for the order</source>
        <translation>Set each camera's time zone and clock for the order</translation>
    </message>
    <message>
        <source>Reading dates… %1 of %2</source>
        <translation>Reading dates… %1 of %2</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Getting the run ready…</source>
        <translation>Getting the run ready…</translation>
    </message>
    <message>
        <source>Renaming… %1 of %2 entries</source>
        <translation>Renaming… %1 of %2 entries</translation>
    </message>
</context>
<context>
    <name>brindleaf::PreviewListView</name>
    <message>
        <source>Drop a folder here</source>
        <translation>Drop a folder here</translation>
    </message>
    <message>
        <source>This folder is empty</source>
        <translation>This folder is empty</translation>
    </message>
    <message>
        <source>Reading the folder…</source>
        <translation>Reading the folder…</translation>
    </message>
    <message>
        <source>Current name</source>
        <translation>Current name</translation>
    </message>
    <message>
        <source>New name</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>Date numbered by</source>
        <translation>Date numbered by</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>Renaming…</source>
        <translation>Renaming…</translation>
    </message>
</context>
<context>
    <name>UndoMessages</name>
    <message>
        <source>The records of past renamings in “%1” cannot be used: %2. Until that is put right, nothing can be renamed or undone.</source>
        <translation>The records of past renamings in “%1” cannot be used: %2. Until that is put right, nothing can be renamed or undone.</translation>
    </message>
    <message>
        <source>The records of past renamings cannot be used: %1. Nothing was changed.</source>
        <translation>The records of past renamings cannot be used: %1. Nothing was changed.</translation>
    </message>
    <message>
        <source>The last renaming in “%1” did not finish, so some entries may still have temporary names. Give every entry its original name back now?</source>
        <translation>The last renaming in “%1” did not finish, so some entries may still have temporary names. Give every entry its original name back now?</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of “%1” right now. Nothing was changed.</source>
        <translation>Another program is renaming the entries of “%1” right now. Nothing was changed.</translation>
    </message>
    <message>
        <source>There is nothing to undo in this folder.</source>
        <translation>There is nothing to undo in this folder.</translation>
    </message>
    <message>
        <source>The folder cannot be read: %1</source>
        <translation>The folder cannot be read: %1</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of this folder right now.</source>
        <translation>Another program is renaming the entries of this folder right now.</translation>
    </message>
    <message>
        <source>The record of the last renaming is damaged, so it cannot be undone. Nothing was changed.</source>
        <translation>The record of the last renaming is damaged, so it cannot be undone. Nothing was changed.</translation>
    </message>
    <message numerus="yes">
        <source>Gave %Ln entries their original names back.</source>
        <translation>
            <numerusform>Gave %Ln entry its original name back.</numerusform>
            <numerusform>Gave %Ln entries their original names back.</numerusform>
        </translation>
    </message>
    <message>
        <source>The undo was stopped.</source>
        <translation>The undo was stopped.</translation>
    </message>
    <message>
        <source>The undo failed: %1</source>
        <translation>The undo failed: %1</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries it names can be read; %Ln of those are still under a new or temporary name. Give the entries it can tell their original names back?</source>
        <translation>
            <numerusform>The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries it names can be read; %Ln of those is still under a new or temporary name. Give the entries it can tell their original names back?</numerusform>
            <numerusform>The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries it names can be read; %Ln of those are still under a new or temporary name. Give the entries it can tell their original names back?</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of that renaming was damaged; the entries it could still tell were taken into account.</source>
        <translation>The record of that renaming was damaged; the entries it could still tell were taken into account.</translation>
    </message>
    <message numerus="yes">
        <source>The record of that renaming was damaged: %Ln entries it named could not be read and keep the names they have now. The damaged record is kept, and the folder is not renamed until it is set aside.</source>
        <translation>
            <numerusform>The record of that renaming was damaged: %Ln entry it named could not be read and keeps the name it has now. The damaged record is kept, and the folder is not renamed until it is set aside.</numerusform>
            <numerusform>The record of that renaming was damaged: %Ln entries it named could not be read and keep the names they have now. The damaged record is kept, and the folder is not renamed until it is set aside.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>All %Ln entries are back under their original names; Undo completes the record.</source>
        <translation>
            <numerusform>The %Ln entry is back under its original name; Undo completes the record.</numerusform>
            <numerusform>All %Ln entries are back under their original names; Undo completes the record.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%L1 of %Ln entries are back under their original names; Undo gives back the rest.</source>
        <translation>
            <numerusform>%L1 of %Ln entry is back under its original name; Undo gives back the rest.</numerusform>
            <numerusform>%L1 of %Ln entries are back under their original names; Undo gives back the rest.</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder could not be flushed to disk: %1</source>
        <translation>The folder could not be flushed to disk: %1</translation>
    </message>
    <message>
        <source>The record of the renaming could not be updated: %1</source>
        <translation>The record of the renaming could not be updated: %1</translation>
    </message>
    <message>
        <source>The undo could not start: %1 Nothing was changed.</source>
        <translation>The undo could not start: %1 Nothing was changed.</translation>
    </message>
    <message>
        <source>This file system does not keep inode numbers, so entries were recognised by name, size and modification time.</source>
        <translation>This file system does not keep inode numbers, so entries were recognised by name, size and modification time.</translation>
    </message>
    <message>
        <source>not found under any name the renaming gave it</source>
        <translation>not found under any name the renaming gave it</translation>
    </message>
    <message>
        <source>another entry stands under its new name</source>
        <translation>another entry stands under its new name</translation>
    </message>
    <message>
        <source>the entry under its new name differs in size</source>
        <translation>the entry under its new name differs in size</translation>
    </message>
    <message>
        <source>the entry under its new name differs in modification time</source>
        <translation>the entry under its new name differs in modification time</translation>
    </message>
    <message>
        <source>more than one entry looks like it</source>
        <translation>more than one entry looks like it</translation>
    </message>
    <message>
        <source>another entry holds its original name</source>
        <translation>another entry holds its original name</translation>
    </message>
    <message>
        <source>today %1</source>
        <translation>today %1</translation>
    </message>
    <message numerus="yes">
        <source>Give the %Ln entries of the renaming of %2 in “%1” their original names back?</source>
        <translation>
            <numerusform>Give the entry of the renaming of %2 in “%1” its original name back?</numerusform>
            <numerusform>Give the %Ln entries of the renaming of %2 in “%1” their original names back?</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of the last renaming in “%1” is damaged, so whether it finished cannot be told, and nothing can be renamed until it is dealt with: Undo gives back the entries it can still tell, or sets it aside.</source>
        <translation>The record of the last renaming in “%1” is damaged, so whether it finished cannot be told, and nothing can be renamed until it is dealt with: Undo gives back the entries it can still tell, or sets it aside.</translation>
    </message>
    <message>
        <source>Every entry of that renaming had its original name already.</source>
        <translation>Every entry of that renaming had its original name already.</translation>
    </message>
    <message>
        <source>No entry could be given its original name back, so nothing was changed; the renaming can still be undone.</source>
        <translation>No entry could be given its original name back, so nothing was changed; the renaming can still be undone.</translation>
    </message>
    <message>
        <source>These entries were left alone; Undo tries them again:</source>
        <translation>These entries were left alone; Undo tries them again:</translation>
    </message>
    <message>
        <source>These are the names the interrupted renaming left, some of them temporary. Undo gives the entries their original names back; nothing can be renamed until then.</source>
        <translation>These are the names the interrupted renaming left, some of them temporary. Undo gives the entries their original names back; nothing can be renamed until then.</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. It names %L3 entries, of which %L4 can be read; %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. It names %L3 entries, of which %L4 can be read; %Ln of those is still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</numerusform>
            <numerusform>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. It names %L3 entries, of which %L4 can be read; %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. How many entries it names cannot be told; %L3 can be read, and %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. How many entries it names cannot be told; %L3 can be read, and %Ln of those is still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</numerusform>
            <numerusform>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. How many entries it names cannot be told; %L3 can be read, and %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is now “%2”</source>
        <translation>“%1” is now “%2”</translation>
    </message>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorMessages</name>
    <message>
        <source>A new name would contain “/”, which no file name can hold.</source>
        <translation>A new name would contain “/”, which no file name can hold.</translation>
    </message>
    <message>
        <source>A new name would contain a NUL character, which no file name can hold.</source>
        <translation>A new name would contain a NUL character, which no file name can hold.</translation>
    </message>
    <message>
        <source>The new names would be longer than the %1 bytes a name can have here.</source>
        <translation>The new names would be longer than the %1 bytes a name can have here.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be read: %2</source>
        <translation>The folder “%1” cannot be read: %2</translation>
    </message>
    <message>
        <source>The new names cannot be given: %1 Nothing was renamed.</source>
        <translation>The new names cannot be given: %1 Nothing was renamed.</translation>
    </message>
    <message>
        <source>The record of this renaming cannot be written in “%1”: %2. Nothing was renamed.</source>
        <translation>The record of this renaming cannot be written in “%1”: %2. Nothing was renamed.</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to disk: %2. Its names may not survive a power cut; Undo can still restore them.</source>
        <translation>The folder “%1” cannot be written to disk: %2. Its names may not survive a power cut; Undo can still restore them.</translation>
    </message>
    <message numerus="yes">
        <source>The folder “%1” cannot be written to disk: %2. %Ln entries have their new names but may lose them in a power cut; Undo can still restore them.</source>
        <translation>
            <numerusform>The folder “%1” cannot be written to disk: %2. %Ln entry has its new name but may lose it in a power cut; Undo can still restore it.</numerusform>
            <numerusform>The folder “%1” cannot be written to disk: %2. %Ln entries have their new names but may lose them in a power cut; Undo can still restore them.</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: %3.</source>
        <translation>“%1” cannot be renamed to “%2”: %3.</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to hold the new name with an empty placeholder (%3).</source>
        <translation>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to hold the new name with an empty placeholder (%3).</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to move the entry onto the empty placeholder that held its new name (%3).</source>
        <translation>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to move the entry onto the empty placeholder that held its new name (%3).</translation>
    </message>
    <message>
        <source>The renaming was stopped.</source>
        <translation>The renaming was stopped.</translation>
    </message>
    <message>
        <source>Every entry is back under its original name.</source>
        <translation>Every entry is back under its original name.</translation>
    </message>
    <message>
        <source>These entries could not be given their names back yet; Undo can try again:</source>
        <translation>These entries could not be given their names back yet; Undo can try again:</translation>
    </message>
    <message>
        <source>An empty placeholder could not be removed and was left behind: “%1”</source>
        <translation>An empty placeholder could not be removed and was left behind: “%1”</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>it is a symbolic link</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>it is not a folder</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>it belongs to another user</translation>
    </message>
    <message>
        <source>other users may write to it</source>
        <translation>other users may write to it</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries were renamed, but the record of the renaming cannot be completed: %1. The renaming stays recorded as unfinished: Undo gives the entries their original names back.</source>
        <translation>
            <numerusform>%Ln entry was renamed, but the record of the renaming cannot be completed: %1. The renaming stays recorded as unfinished: Undo gives the entry its original name back.</numerusform>
            <numerusform>%Ln entries were renamed, but the record of the renaming cannot be completed: %1. The renaming stays recorded as unfinished: Undo gives the entries their original names back.</numerusform>
        </translation>
    </message>
    <message>
        <source>A new name is held by an entry left out of the numbering, which is never moved out of the way.</source>
        <translation>A new name is held by an entry left out of the numbering, which is never moved out of the way.</translation>
    </message>
</context>
<context>
    <name>brindleaf::RunDialogs</name>
    <message>
        <source>No folder is chosen, so nothing will be renamed.</source>
        <translation>No folder is chosen, so nothing will be renamed.</translation>
    </message>
    <message>
        <source>“%1” is empty, so nothing will be renamed.</source>
        <translation>“%1” is empty, so nothing will be renamed.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries in “%1” get new names.</source>
        <translation>
            <numerusform>%Ln entry in “%1” gets a new name.</numerusform>
            <numerusform>%Ln entries in “%1” get new names.</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirm Renaming</translation>
    </message>
    <message>
        <source>ProceedRenaming</source>
        <translation>Rename the entries of this folder as the preview shows?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Rename</translation>
    </message>
    <message numerus="yes">
        <source>Renamed %Ln entries.</source>
        <translation>
            <numerusform>Renamed %Ln entry.</numerusform>
            <numerusform>Renamed %Ln entries.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln had their new names already.</source>
        <translation>
            <numerusform>%Ln had its new name already.</numerusform>
            <numerusform>%Ln had their new names already.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every entry already has its new name; nothing was renamed.</source>
        <translation>Every entry already has its new name; nothing was renamed.</translation>
    </message>
    <message>
        <source>The folder changed after its preview was shown. The preview now shows it as it is. Rename the entries as it shows them now?</source>
        <translation>The folder changed after its preview was shown. The preview now shows it as it is. Rename the entries as it shows them now?</translation>
    </message>
    <message>
        <source>Undo Renaming</source>
        <translation>Undo Renaming</translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>accepts the undo confirmation</comment>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Restore the original names</source>
        <translation>Restore the original names</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Not now</translation>
    </message>
    <message>
        <source>Damaged Record</source>
        <translation>Damaged Record</translation>
    </message>
    <message>
        <source>Set the record aside</source>
        <translation>Set the record aside</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The damaged record was set aside; no entry was moved.</source>
        <translation>The damaged record was set aside; no entry was moved.</translation>
    </message>
    <message>
        <source>Stopped; every entry is back under its name.</source>
        <translation>Stopped; every entry is back under its name.</translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %Ln entries could not be given their names back; Undo can try again.</source>
        <translation>
            <numerusform>Stopped; %Ln entry could not be given its name back; Undo can try again.</numerusform>
            <numerusform>Stopped; %Ln entries could not be given their names back; Undo can try again.</numerusform>
        </translation>
    </message>
    <message>
        <source>The choices leave every entry of “%1” out, so nothing will be renamed.</source>
        <translation>The choices leave every entry of “%1” out, so nothing will be renamed.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries are left out and keep their names.</source>
        <translation>
            <numerusform>%Ln entry is left out and keeps its name.</numerusform>
            <numerusform>%Ln entries are left out and keep their names.</numerusform>
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
        <translation>Date modified</translation>
    </message>
    <message>
        <source>Date taken</source>
        <translation>Date taken</translation>
    </message>
</context>
<context>
    <name>brindleaf::DateText</name>
    <message>
        <source>%1 (corrected)</source>
        <translation>%1 (corrected)</translation>
    </message>
    <message>
        <source>%1 (modified)</source>
        <translation>%1 (modified)</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraListModel</name>
    <message>
        <source>its offset tags; without them, the zone given</source>
        <translation>its offset tags; without them, the zone given</translation>
    </message>
    <message>
        <source>the zone given</source>
        <translation>the zone given</translation>
    </message>
    <message>
        <source>its offset tags</source>
        <translation>its offset tags</translation>
    </message>
    <message>
        <source>none: read as this computer's zone, %1</source>
        <translation>none: read as this computer's zone, %1</translation>
    </message>
    <message>
        <source>%1 (%2 of %3 entries; the others by their offset tags)</source>
        <translation>%1 (%2 of %3 entries; the others by their offset tags)</translation>
    </message>
    <message>
        <source>The zone this camera's clock was set to, such as +01:00, -05:30 or UTC; a zone written in a photo still wins</source>
        <translation>The zone this camera's clock was set to, such as +01:00, -05:30 or UTC; a zone written in a photo still wins</translation>
    </message>
    <message>
        <source>How far to set this camera's clock right, such as -0:03:12</source>
        <translation>How far to set this camera's clock right, such as -0:03:12</translation>
    </message>
    <message>
        <source>The picture is of the first photo this camera took, or of its first video when it took none</source>
        <translation>The picture is of the first photo this camera took, or of its first video when it took none</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Entries</translation>
    </message>
    <message>
        <source>First taken</source>
        <translation>First taken</translation>
    </message>
    <message>
        <source>Last taken</source>
        <translation>Last taken</translation>
    </message>
    <message>
        <source>Time zone from</source>
        <translation>Time zone from</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>Clock correction</source>
        <translation>Clock correction</translation>
    </message>
    <message>
        <source>A time zone is written as +01:00, -05:30 or UTC, not “%1”.</source>
        <translation>A time zone is written as +01:00, -05:30 or UTC, not “%1”.</translation>
    </message>
    <message>
        <source>A clock correction is written as -0:03:12 or +1:00:00 (hours, minutes, seconds), not “%1”.</source>
        <translation>A clock correction is written as -0:03:12 or +1:00:00 (hours, minutes, seconds), not “%1”.</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraDialog</name>
    <message>
        <source>Cameras</source>
        <translation>Cameras</translation>
    </message>
    <message>
        <source>A photo without a time zone of its own is read in the zone given for its camera, else in this computer's. A clock correction sets a camera's clock right. Only the order uses them: no file is changed.</source>
        <translation>A photo without a time zone of its own is read in the zone given for its camera, else in this computer's. A clock correction sets a camera's clock right. Only the order uses them: no file is changed.</translation>
    </message>
</context>
</TS>
