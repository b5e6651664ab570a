// The zip options dialog: the archive's name and folder, the files to pack,
// progress and cancel.
#pragma once

// Shows the dialog modally over the active window; returns when it has ended.
void ShowZipOptionsDialog();
