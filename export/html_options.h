// The HTML export options dialog: gathers the page's layout, items, font,
// header and title, saves them and writes the page.
#pragma once

// Shows the dialog modally over the active window; returns when it has ended.
void ShowHtmlOptionsDialog();
