<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="13">
        <source>Please enter a name for the table.</source>
        <translation>Please enter a name for the table.</translation>
    </message>
    <message id="14">
        <source>Delete the table &quot;%s&quot; and all of its values?</source>
        <translation>Delete the table &quot;%s&quot; and all of its values?</translation>
    </message>
    <message id="16">
        <source>Another table already has this name. Please choose a different name.</source>
        <translation>Another table already has this name. Please choose a different name.</translation>
    </message>
    <message id="17">
        <source>The field &quot;%s&quot; uses the value table &quot;%s&quot;, which no longer exists. The field has been changed to a text field.</source>
        <translation>The field &quot;%s&quot; uses the value table &quot;%s&quot;, which no longer exists. The field has been changed to a text field.</translation>
    </message>
    <message id="24">
        <source>A table name cannot begin with a blank.</source>
        <translation>A table name cannot begin with a blank.</translation>
    </message>
    <message id="25">
        <source>The table &quot;%s&quot; feeds the fields %s. Delete it? Those fields become text fields.</source>
        <translation>The table &quot;%s&quot; feeds the fields %s. Delete it? Those fields become text fields.</translation>
    </message>
    <message id="1134">
        <source>The teaching file could not be submitted.</source>
        <translation>The teaching file could not be submitted.</translation>
    </message>
    <message id="1135">
        <source>The teaching file was not accepted.</source>
        <translation>The teaching file was not accepted.</translation>
    </message>
    <message id="1154">
        <source>Submit this teaching file?</source>
        <translation>Submit this teaching file?</translation>
    </message>
    <message id="2173">
        <source>Teaching File</source>
        <translation>Teaching File</translation>
    </message>
    <message id="15031">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="15032">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="15372">
        <source>ACR Code Form</source>
        <translation>ACR Code Form</translation>
    </message>
    <message id="15373">
        <source>ACR Code:</source>
        <translation>ACR Code:</translation>
    </message>
    <message id="15374">
        <source>ANAT CODE</source>
        <translation>ANAT CODE</translation>
    </message>
    <message id="15375">
        <source>Anatomy:</source>
        <translation>Anatomy:</translation>
    </message>
    <message id="15376">
        <source>Anatomy</source>
        <translation>Anatomy</translation>
    </message>
    <message id="15377">
        <source>Anatomy Expansion Below:</source>
        <translation>Anatomy Expansion Below:</translation>
    </message>
    <message id="15378">
        <source>ACR...</source>
        <translation>ACR...</translation>
    </message>
    <message id="15381">
        <source>Field Label</source>
        <translation>Field Label</translation>
    </message>
    <message id="15382">
        <source>Design Mode</source>
        <translation>Design Mode</translation>
    </message>
    <message id="15383">
        <source>The teaching file has unsaved changes. Do you want to keep them?</source>
        <translation>The teaching file has unsaved changes. Do you want to keep them?</translation>
    </message>
    <message id="15384">
        <source>Design mode: drag the fields to move or resize them, right-click a label for its type.</source>
        <translation>Design mode: drag the fields to move or resize them, right-click a label for its type.</translation>
    </message>
    <message id="15385">
        <source>Please enter Label Text:</source>
        <translation>Please enter Label Text:</translation>
    </message>
    <message id="15386">
        <source>Exit Design Mode</source>
        <translation>Exit Design Mode</translation>
    </message>
    <message id="15387">
        <source>The layout could not be saved.</source>
        <translation>The layout could not be saved.</translation>
    </message>
    <message id="15388">
        <source>Go up one level</source>
        <translation>Go up one level</translation>
    </message>
    <message id="15389">
        <source>End of teaching file</source>
        <translation>End of teaching file</translation>
    </message>
    <message id="15391">
        <source>PATH CODE</source>
        <translation>PATH CODE</translation>
    </message>
    <message id="15392">
        <source>Pathology:</source>
        <translation>Pathology:</translation>
    </message>
    <message id="15393">
        <source>Pathologic</source>
        <translation>Pathologic</translation>
    </message>
    <message id="15394">
        <source>Pathologic Expansion Below:</source>
        <translation>Pathologic Expansion Below:</translation>
    </message>
    <message id="15395">
        <source>Saving field positions...</source>
        <translation>Saving field positions...</translation>
    </message>
    <message id="15396">
        <source>Saving the layout...</source>
        <translation>Saving the layout...</translation>
    </message>
    <message id="15398">
        <source>Teaching File</source>
        <translation>Teaching File</translation>
    </message>
    <message id="15399">
        <source>Teaching File (view only)</source>
        <translation>Teaching File (view only)</translation>
    </message>
    <message id="15401">
        <source>Updating the field captions...</source>
        <translation>Updating the field captions...</translation>
    </message>
    <message id="15402">
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message id="15403">
        <source>No</source>
        <translation>No</translation>
    </message>
    <message id="15410">
        <source>Submitted By:</source>
        <translation>Submitted By:</translation>
    </message>
    <message id="15411">
        <source>Date Submitted:</source>
        <translation>Date Submitted:</translation>
    </message>
    <message id="15412">
        <source>AFIP</source>
        <translation>AFIP</translation>
    </message>
    <message id="15426">
        <source>The teaching file was submitted.</source>
        <translation>The teaching file was submitted.</translation>
    </message>
    <message id="15955">
        <source>Angio Codes Form</source>
        <translation>Angio Codes Form</translation>
    </message>
    <message id="15956">
        <source>Anatomy Expansion Below:</source>
        <translation>Anatomy Expansion Below:</translation>
    </message>
    <message id="15957">
        <source>Angio...</source>
        <translation>Angio...</translation>
    </message>
    <message id="15958">
        <source>Tables</source>
        <translation>Tables</translation>
    </message>
    <message id="15959">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="15960">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="15961">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="15962">
        <source>New Table</source>
        <translation>New Table</translation>
    </message>
    <message id="15963">
        <source>Edit Table</source>
        <translation>Edit Table</translation>
    </message>
    <message id="15964">
        <source>Table Name:</source>
        <translation>Table Name:</translation>
    </message>
    <message id="15966">
        <source>New Value</source>
        <translation>New Value</translation>
    </message>
    <message id="15967">
        <source>Value:</source>
        <translation>Value:</translation>
    </message>
    <message id="15980">
        <source>Cleared %1. Ctrl+Z brings it back.</source>
        <translation>Cleared %1. Ctrl+Z brings it back.</translation>
    </message>
    <message id="15981">
        <source>The teaching file of %1 has unsaved changes. Do you want to keep them?</source>
        <translation>The teaching file of %1 has unsaved changes. Do you want to keep them?</translation>
    </message>
    <message id="15982">
        <source>%1: a draft saved at %2 was never submitted. It differs from the stored teaching file in: %3. Do you want to restore the draft?</source>
        <translation>%1: a draft saved at %2 was never submitted. It differs from the stored teaching file in: %3. Do you want to restore the draft?</translation>
    </message>
    <message id="15983">
        <source>The teaching-file drafts could not be read. The file was set aside as %1 and new drafts are kept from now on.</source>
        <translation>The teaching-file drafts could not be read. The file was set aside as %1 and new drafts are kept from now on.</translation>
    </message>
    <message id="16029">
        <source>ANGIO CODE</source>
        <translation>ANGIO CODE</translation>
    </message>
    <message id="16040">
        <source>&amp;Find:</source>
        <translation>&amp;Find:</translation>
    </message>
    <message id="16041">
        <source>Words of the description, or the code&apos;s first digits</source>
        <translation>Words of the description, or the code&apos;s first digits</translation>
    </message>
    <message id="16042">
        <source>No code matches</source>
        <translation>No code matches</translation>
    </message>
    <message id="16101">
        <source>The text may identify the patient:

%1
Submit anyway?</source>
        <translation>The text may identify the patient:

%1
Submit anyway?</translation>
    </message>
    <message id="16102">
        <source>%1: “%2”</source>
        <translation>%1: “%2”</translation>
    </message>
    <message id="16103">
        <source>The patient-identifier pattern %1 in the configuration store is not valid and is not used.</source>
        <translation>The patient-identifier pattern %1 in the configuration store is not valid and is not used.</translation>
    </message>
</context>
</TS>
