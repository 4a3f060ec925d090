#pragma once
// The key-handler slots of the interface, output impedance, parallel, LCD, barcode, default-setting and
// save/recall editors.

// Registers them in the key-handler table (at start-up, before the menu/control thread runs); the
// table's result: 0, or -1 when it refused them.
int MenuItemEditors_Register();
