// The Favorites menu's twenty items carry the favourite folders as labels.
#pragma once

// Relabels the Favorites items 9051-9070 from the favourite list: the path
// when it names an existing folder, "--Undefined--" when it is empty and
// "***Invalid Directory***" otherwise. Every item stays enabled.
void RefreshFavoritesMenu();
