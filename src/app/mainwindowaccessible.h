#pragma once

// What a screen reader is told of the main window beyond what Qt tells: its menu entries'
// shortcuts and the area that holds the sheets.

// Menu entries with a shortcut tell a screen reader their shortcut in the key-binding form it
// reads ("mnemonic;path;accelerator", the accelerator third), so that an entry is heard with
// its shortcut as in other programs: "コピー(C) Ctrl+C". Entries without one are left to Qt.
void installMenuAccessibility();

// The area that holds the sheets is only a place for them: a screen reader passes over it
// instead of calling out a "layered pane" each time the focus comes back to a sheet.
void installMdiAccessibility();
