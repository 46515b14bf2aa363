<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>brindleaf::ContentView</name>
    <message>
        <source>Open</source>
        <translation>フォルダーを開く(&amp;O)…</translation>
    </message>
    <message>
        <source>StartIndex</source>
        <translation>開始番号(&amp;S)</translation>
    </message>
    <message>
        <source>NumDigits</source>
        <translation>桁数(&amp;D)</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>接頭辞(&amp;P)</translation>
    </message>
    <message>
        <source>Postfix</source>
        <translation>接尾辞(&amp;F)</translation>
    </message>
    <message>
        <source>NatSort</source>
        <translation>自然順で並べる(&amp;N)</translation>
    </message>
    <message>
        <source>SortReplacingRemovingSpace</source>
        <translation>並べ替えで空白を無視(&amp;I)</translation>
    </message>
    <message>
        <source>SortReplacingSpaceToUnderbar</source>
        <translation>空白を下線として並べ替え(&amp;A)</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>逆順(&amp;V)</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>名前を変更(&amp;R)…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す(&amp;U)…</translation>
    </message>
    <message>
        <source>Give the entries of the last renaming their original names back</source>
        <translation>前回の名前変更の項目を元の名前に戻します</translation>
    </message>
    <message>
        <source>Keep extensions</source>
        <translation>拡張子を残す(&amp;K)</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln 個の項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln change extension</source>
        <translation>
            <numerusform>%Ln 個の拡張子が変わります</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folders</source>
        <translation>
            <numerusform>%Ln 個のフォルダー</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln hidden</source>
        <translation>
            <numerusform>%Ln 個の隠し項目</numerusform>
        </translation>
    </message>
    <message>
        <source>every entry already has its new name</source>
        <translation>すべての項目がすでに新しい名前です</translation>
    </message>
    <message>
        <source>Order by</source>
        <translation>並べ順(&amp;B)</translation>
    </message>
    <message>
        <source>Only extensions</source>
        <translation>この拡張子のみ(&amp;E)</translation>
    </message>
    <message>
        <source>Keep related files together</source>
        <translation>関連ファイルをまとめる(&amp;T)</translation>
    </message>
    <message>
        <source>Skip hidden entries</source>
        <translation>隠し項目を除く(&amp;H)</translation>
    </message>
    <message>
        <source>Files only</source>
        <translation>ファイルのみ(&amp;L)</translation>
    </message>
    <message>
        <source>Show pictures</source>
        <translation>画像を表示(&amp;W)</translation>
    </message>
    <message numerus="yes">
        <source>%Ln left out</source>
        <translation>
            <numerusform>%Ln 個を除外</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln without a date taken</source>
        <translation>
            <numerusform>%Ln 個は撮影日時なし</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln photos from a camera without a time zone, read as this computer's</source>
        <translation>
            <numerusform>%Ln 個はタイムゾーンのないカメラのもので、このコンピューターのタイムゾーンとして読み込み</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cameras…</source>
        <translation>カメラ(&amp;C)…</translation>
    </message>
    <message>
        <source>Set each camera's time zone and clock for the order</source>
        <translation>並び順のために各カメラのタイムゾーンと時計を設定します</translation>
    </message>
    <message>
        <source>Reading dates… %1 of %2</source>
        <translation>日時を読み込み中… %2 個中 %1 個</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Getting the run ready…</source>
        <translation>実行の準備中…</translation>
    </message>
    <message>
        <source>Renaming… %1 of %2 entries</source>
        <translation>名前を変更中… %2 個中 %1 個</translation>
    </message>
</context>
<context>
    <name>brindleaf::PreviewListView</name>
    <message>
        <source>Drop a folder here</source>
        <translation>ここにフォルダーをドロップ</translation>
    </message>
    <message>
        <source>This folder is empty</source>
        <translation>このフォルダーは空です</translation>
    </message>
    <message>
        <source>Reading the folder…</source>
        <translation>フォルダーを読み込んでいます…</translation>
    </message>
    <message>
        <source>Current name</source>
        <translation>現在の名前</translation>
    </message>
    <message>
        <source>New name</source>
        <translation>新しい名前</translation>
    </message>
    <message>
        <source>Date numbered by</source>
        <translation>番号付けの日時</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>カメラ</translation>
    </message>
    <message>
        <source>Renaming…</source>
        <translation>名前を変更中…</translation>
    </message>
</context>
<context>
    <name>UndoMessages</name>
    <message>
        <source>The records of past renamings in “%1” cannot be used: %2. Until that is put right, nothing can be renamed or undone.</source>
        <translation>「%1」にある過去の名前の変更の記録を使えません: %2。これが直るまで、名前の変更も取り消しもできません。</translation>
    </message>
    <message>
        <source>The records of past renamings cannot be used: %1. Nothing was changed.</source>
        <translation>過去の名前の変更の記録を使えません: %1。何も変更していません。</translation>
    </message>
    <message>
        <source>The last renaming in “%1” did not finish, so some entries may still have temporary names. Give every entry its original name back now?</source>
        <translation>「%1」の前回の名前変更は完了していないため、一時的な名前のままの項目があるかもしれません。今すべての項目を元の名前に戻しますか?</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of “%1” right now. Nothing was changed.</source>
        <translation>別のプログラムが「%1」の項目の名前を変更中です。何も変更されていません。</translation>
    </message>
    <message>
        <source>There is nothing to undo in this folder.</source>
        <translation>このフォルダーには元に戻せる操作がありません。</translation>
    </message>
    <message>
        <source>The folder cannot be read: %1</source>
        <translation>フォルダーを読み込めません: %1</translation>
    </message>
    <message>
        <source>Another program is renaming the entries of this folder right now.</source>
        <translation>別のプログラムがこのフォルダーの項目の名前を変更中です。</translation>
    </message>
    <message>
        <source>The record of the last renaming is damaged, so it cannot be undone. Nothing was changed.</source>
        <translation>前回の名前変更の記録が壊れているため、元に戻せません。何も変更されていません。</translation>
    </message>
    <message numerus="yes">
        <source>Gave %Ln entries their original names back.</source>
        <translation>
            <numerusform>%Ln 個の項目を元の名前に戻しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>The undo was stopped.</source>
        <translation>元に戻す操作を中止しました。</translation>
    </message>
    <message>
        <source>The undo failed: %1</source>
        <translation>元に戻せませんでした: %1</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries it names can be read; %Ln of those are still under a new or temporary name. Give the entries it can tell their original names back?</source>
        <translation>
            <numerusform>「%2」での %1 の名前の変更の記録は壊れていますが、記録された %L4 個の項目のうち %L3 個は読み取れます。そのうち %Ln 個はまだ新しい名前か一時的な名前のままです。読み取れる項目を元の名前に戻しますか?</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of that renaming was damaged; the entries it could still tell were taken into account.</source>
        <translation>その名前の変更の記録は壊れていました。読み取れた項目だけを対象にしました。</translation>
    </message>
    <message numerus="yes">
        <source>The record of that renaming was damaged: %Ln entries it named could not be read and keep the names they have now. The damaged record is kept, and the folder is not renamed until it is set aside.</source>
        <translation>
            <numerusform>その名前の変更の記録は壊れていました。記録された項目のうち %Ln 個は読み取れず、今の名前のままです。壊れた記録はそのまま残し、別に保管するまでこのフォルダーの名前は変更しません。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>All %Ln entries are back under their original names; Undo completes the record.</source>
        <translation>
            <numerusform>%Ln 個の項目はすべて元の名前に戻りました。「元に戻す」で記録を完了します。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%L1 of %Ln entries are back under their original names; Undo gives back the rest.</source>
        <translation>
            <numerusform>%Ln 個の項目のうち %L1 個が元の名前に戻りました。残りは「元に戻す」で戻せます。</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder could not be flushed to disk: %1</source>
        <translation>フォルダーをディスクに書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>The record of the renaming could not be updated: %1</source>
        <translation>名前変更の記録を更新できませんでした: %1</translation>
    </message>
    <message>
        <source>The undo could not start: %1 Nothing was changed.</source>
        <translation>元に戻す操作を開始できませんでした: %1 何も変更されていません。</translation>
    </message>
    <message>
        <source>This file system does not keep inode numbers, so entries were recognised by name, size and modification time.</source>
        <translation>このファイルシステムは inode 番号を保持しないため、項目を名前・サイズ・更新日時で識別しました。</translation>
    </message>
    <message>
        <source>not found under any name the renaming gave it</source>
        <translation>名前の変更で付いたどの名前にも見つかりません</translation>
    </message>
    <message>
        <source>another entry stands under its new name</source>
        <translation>新しい名前には別の項目があります</translation>
    </message>
    <message>
        <source>the entry under its new name differs in size</source>
        <translation>新しい名前の項目はサイズが違います</translation>
    </message>
    <message>
        <source>the entry under its new name differs in modification time</source>
        <translation>新しい名前の項目は更新日時が違います</translation>
    </message>
    <message>
        <source>more than one entry looks like it</source>
        <translation>同じように見える項目が複数あります</translation>
    </message>
    <message>
        <source>another entry holds its original name</source>
        <translation>元の名前は別の項目が使っています</translation>
    </message>
    <message>
        <source>today %1</source>
        <translation>今日 %1</translation>
    </message>
    <message numerus="yes">
        <source>Give the %Ln entries of the renaming of %2 in “%1” their original names back?</source>
        <translation>
            <numerusform>「%1」で %2 に名前を変更した %Ln 個の項目を元の名前に戻しますか？</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of the last renaming in “%1” is damaged, so whether it finished cannot be told, and nothing can be renamed until it is dealt with: Undo gives back the entries it can still tell, or sets it aside.</source>
        <translation>「%1」の最後の名前の変更の記録が壊れているため、完了したかどうか分かりません。対処するまで名前を変更できません。「元に戻す」で、記録から読み取れる項目を元の名前に戻すか、記録を別に保管します。</translation>
    </message>
    <message>
        <source>Every entry of that renaming had its original name already.</source>
        <translation>その名前の変更の項目はすべてすでに元の名前でした。</translation>
    </message>
    <message>
        <source>No entry could be given its original name back, so nothing was changed; the renaming can still be undone.</source>
        <translation>元の名前に戻せる項目がなかったため、何も変更していません。この名前の変更はまだ元に戻せます。</translation>
    </message>
    <message>
        <source>These entries were left alone; Undo tries them again:</source>
        <translation>次の項目はそのままにしました。元に戻すともう一度試します:</translation>
    </message>
    <message>
        <source>These are the names the interrupted renaming left, some of them temporary. Undo gives the entries their original names back; nothing can be renamed until then.</source>
        <translation>これは中断された名前の変更が残した名前で、一時的な名前も含まれます。元に戻すと項目は元の名前に戻ります。それまでは名前を変更できません。</translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. It names %L3 entries, of which %L4 can be read; %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>「%2」で %1 に行った名前の変更の記録が読めないため、元に戻せません。記録には %L3 個の項目があり、%L4 個を読めました。そのうち %Ln 個はまだ新しい名前か一時的な名前のままです。フォルダーの名前をまた変更できるよう、記録を脇に置きますか？項目は移動せず、記録は残ります。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The record of the renaming of %1 in “%2” cannot be read, so it cannot be undone. How many entries it names cannot be told; %L3 can be read, and %Ln of those are still under a new or temporary name. Set the record aside, so the folder can be renamed again? No entry is moved, and the record is kept.</source>
        <translation>
            <numerusform>「%2」で %1 に行った名前の変更の記録が読めないため、元に戻せません。記録にいくつの項目があるかは分かりません。%L3 個を読めました。そのうち %Ln 個はまだ新しい名前か一時的な名前のままです。フォルダーの名前をまた変更できるよう、記録を脇に置きますか？項目は移動せず、記録は残ります。</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” is now “%2”</source>
        <translation>「%1」は今「%2」です</translation>
    </message>
    <message numerus="yes">
        <source>and %Ln more</source>
        <translation>
            <numerusform>ほか %Ln 個</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorMessages</name>
    <message>
        <source>A new name would contain “/”, which no file name can hold.</source>
        <translation>新しい名前に「/」が含まれます。ファイル名には使えません。</translation>
    </message>
    <message>
        <source>A new name would contain a NUL character, which no file name can hold.</source>
        <translation>新しい名前に NUL 文字が含まれます。ファイル名には使えません。</translation>
    </message>
    <message>
        <source>The new names would be longer than the %1 bytes a name can have here.</source>
        <translation>新しい名前が、ここで使える %1 バイトを超えます。</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be read: %2</source>
        <translation>フォルダー「%1」を読み込めません: %2</translation>
    </message>
    <message>
        <source>The new names cannot be given: %1 Nothing was renamed.</source>
        <translation>新しい名前を付けられません: %1 何も名前を変更していません。</translation>
    </message>
    <message>
        <source>The record of this renaming cannot be written in “%1”: %2. Nothing was renamed.</source>
        <translation>この名前変更の記録を「%1」に書き込めません: %2。何も名前を変更していません。</translation>
    </message>
    <message>
        <source>The folder “%1” cannot be written to disk: %2. Its names may not survive a power cut; Undo can still restore them.</source>
        <translation>フォルダー「%1」をディスクに書き込めません: %2。停電時に名前が失われる可能性があります。「元に戻す」で復元できます。</translation>
    </message>
    <message numerus="yes">
        <source>The folder “%1” cannot be written to disk: %2. %Ln entries have their new names but may lose them in a power cut; Undo can still restore them.</source>
        <translation>
            <numerusform>フォルダー「%1」をディスクに書き込めません: %2。%Ln 個の項目は新しい名前になりましたが、停電時にその名前が失われる可能性があります。「元に戻す」で復元できます。</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: %3.</source>
        <translation>「%1」を「%2」に変更できません: %3。</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to hold the new name with an empty placeholder (%3).</source>
        <translation>「%1」を「%2」に変更できません: このファイルシステムは置き換えずに名前を変更できず、空のプレースホルダーで新しい名前を確保することも拒否しました (%3)。</translation>
    </message>
    <message>
        <source>“%1” cannot be renamed to “%2”: this file system cannot rename without replacing, and it refused to move the entry onto the empty placeholder that held its new name (%3).</source>
        <translation>「%1」を「%2」に変更できません: このファイルシステムは置き換えずに名前を変更できず、新しい名前を確保した空のプレースホルダーへの移動も拒否しました (%3)。</translation>
    </message>
    <message>
        <source>The renaming was stopped.</source>
        <translation>名前の変更を中止しました。</translation>
    </message>
    <message>
        <source>Every entry is back under its original name.</source>
        <translation>すべての項目は元の名前に戻りました。</translation>
    </message>
    <message>
        <source>These entries could not be given their names back yet; Undo can try again:</source>
        <translation>次の項目はまだ元の名前に戻せていません。「元に戻す」で再試行できます:</translation>
    </message>
    <message>
        <source>An empty placeholder could not be removed and was left behind: “%1”</source>
        <translation>空のプレースホルダーを削除できず、残っています: 「%1」</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>シンボリックリンクです</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>フォルダーではありません</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>ほかのユーザーのものです</translation>
    </message>
    <message>
        <source>other users may write to it</source>
        <translation>ほかのユーザーが書き込めます</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries were renamed, but the record of the renaming cannot be completed: %1. The renaming stays recorded as unfinished: Undo gives the entries their original names back.</source>
        <translation>
            <numerusform>%Ln 個の項目の名前を変更しましたが、名前変更の記録を完了できません: %1。この名前の変更は未完了として記録されたままです。「元に戻す」で項目は元の名前に戻ります。</numerusform>
        </translation>
    </message>
    <message>
        <source>A new name is held by an entry left out of the numbering, which is never moved out of the way.</source>
        <translation>新しい名前が番号付けから除外した項目の名前と重なります。除外した項目は決して移動しません。</translation>
    </message>
</context>
<context>
    <name>brindleaf::RunDialogs</name>
    <message>
        <source>No folder is chosen, so nothing will be renamed.</source>
        <translation>フォルダーが選ばれていないため、何も名前を変更しません。</translation>
    </message>
    <message>
        <source>“%1” is empty, so nothing will be renamed.</source>
        <translation>「%1」は空なので、何も名前を変更しません。</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries in “%1” get new names.</source>
        <translation>
            <numerusform>「%1」の %Ln 個の項目に新しい名前が付きます。</numerusform>
        </translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>名前変更の確認</translation>
    </message>
    <message>
        <source>ProceedRenaming</source>
        <translation>このフォルダーの項目をプレビューのとおりに名前変更しますか？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>変更する</translation>
    </message>
    <message numerus="yes">
        <source>Renamed %Ln entries.</source>
        <translation>
            <numerusform>%Ln 個の項目の名前を変更しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln had their new names already.</source>
        <translation>
            <numerusform>%Ln 個の項目はすでに新しい名前でした。</numerusform>
        </translation>
    </message>
    <message>
        <source>Every entry already has its new name; nothing was renamed.</source>
        <translation>すべての項目がすでに新しい名前のため、何も変更しませんでした。</translation>
    </message>
    <message>
        <source>The folder changed after its preview was shown. The preview now shows it as it is. Rename the entries as it shows them now?</source>
        <translation>プレビューの表示後にフォルダーが変更されました。プレビューは現在の状態を表示しています。今の表示どおりに項目の名前を変更しますか?</translation>
    </message>
    <message>
        <source>Undo Renaming</source>
        <translation>名前の変更を元に戻す</translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>accepts the undo confirmation</comment>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Restore the original names</source>
        <translation>元の名前に戻す</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>後で</translation>
    </message>
    <message>
        <source>Damaged Record</source>
        <translation>壊れた記録</translation>
    </message>
    <message>
        <source>Set the record aside</source>
        <translation>記録を脇に置く</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>The damaged record was set aside; no entry was moved.</source>
        <translation>壊れた記録を脇に置きました。項目は移動していません。</translation>
    </message>
    <message>
        <source>Stopped; every entry is back under its name.</source>
        <translation>中止しました。すべての項目が元の名前に戻っています。</translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %Ln entries could not be given their names back; Undo can try again.</source>
        <translation>
            <numerusform>中止しました。%Ln 個の項目を元の名前に戻せませんでした。「元に戻す」で再試行できます。</numerusform>
        </translation>
    </message>
    <message>
        <source>The choices leave every entry of “%1” out, so nothing will be renamed.</source>
        <translation>選択により「%1」のすべての項目が除外されるため、何も変更されません。</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries are left out and keep their names.</source>
        <translation>
            <numerusform>%Ln 個の項目は除外され、名前は変わりません。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>brindleaf::OrderChoice</name>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Date modified</source>
        <translation>更新日時</translation>
    </message>
    <message>
        <source>Date taken</source>
        <translation>撮影日時</translation>
    </message>
</context>
<context>
    <name>brindleaf::DateText</name>
    <message>
        <source>%1 (corrected)</source>
        <translation>%1（補正済み）</translation>
    </message>
    <message>
        <source>%1 (modified)</source>
        <translation>%1（更新日時）</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraListModel</name>
    <message>
        <source>its offset tags; without them, the zone given</source>
        <translation>写真のオフセットタグ（タグがなければ指定したタイムゾーン）</translation>
    </message>
    <message>
        <source>the zone given</source>
        <translation>指定したタイムゾーン</translation>
    </message>
    <message>
        <source>its offset tags</source>
        <translation>写真のオフセットタグ</translation>
    </message>
    <message>
        <source>none: read as this computer's zone, %1</source>
        <translation>なし: このコンピューターのタイムゾーン (%1) として読み込み</translation>
    </message>
    <message>
        <source>%1 (%2 of %3 entries; the others by their offset tags)</source>
        <translation>%1（%3 個中 %2 個。残りはオフセットタグに従う）</translation>
    </message>
    <message>
        <source>The zone this camera's clock was set to, such as +01:00, -05:30 or UTC; a zone written in a photo still wins</source>
        <translation>このカメラの時計が合わせてあったタイムゾーン（+01:00、-05:30、UTC など）。写真に書かれたタイムゾーンが優先されます</translation>
    </message>
    <message>
        <source>How far to set this camera's clock right, such as -0:03:12</source>
        <translation>このカメラの時計を補正する量（-0:03:12 など）</translation>
    </message>
    <message>
        <source>The picture is of the first photo this camera took, or of its first video when it took none</source>
        <translation>このカメラで最初に撮影された写真の画像です（写真がない場合は最初の動画）</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>カメラ</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>項目数</translation>
    </message>
    <message>
        <source>First taken</source>
        <translation>最初の撮影</translation>
    </message>
    <message>
        <source>Last taken</source>
        <translation>最後の撮影</translation>
    </message>
    <message>
        <source>Time zone from</source>
        <translation>タイムゾーンの取得元</translation>
    </message>
    <message>
        <source>Time zone</source>
        <translation>タイムゾーン</translation>
    </message>
    <message>
        <source>Clock correction</source>
        <translation>時計の補正</translation>
    </message>
    <message>
        <source>A time zone is written as +01:00, -05:30 or UTC, not “%1”.</source>
        <translation>タイムゾーンは +01:00、-05:30、UTC のように書きます。「%1」は使えません。</translation>
    </message>
    <message>
        <source>A clock correction is written as -0:03:12 or +1:00:00 (hours, minutes, seconds), not “%1”.</source>
        <translation>時計の補正は -0:03:12 や +1:00:00（時:分:秒）のように書きます。「%1」は使えません。</translation>
    </message>
</context>
<context>
    <name>brindleaf::CameraDialog</name>
    <message>
        <source>Cameras</source>
        <translation>カメラ</translation>
    </message>
    <message>
        <source>A photo without a time zone of its own is read in the zone given for its camera, else in this computer's. A clock correction sets a camera's clock right. Only the order uses them: no file is changed.</source>
        <translation>タイムゾーンを持たない写真は、そのカメラに指定したタイムゾーンで、指定がなければこのコンピューターのタイムゾーンで読み込みます。時計の補正はカメラの時計のずれを直します。どちらも並び順にだけ使われ、ファイルは変更されません。</translation>
    </message>
</context>
</TS>
