// The HTML export options dialog: gathers the page's layout, items, font,
// header and title, saves them and writes the page.
#pragma once

// Shows the dialog modally, owned by the main window; returns when it has
// ended.
void ShowHtmlOptionsDialog();
