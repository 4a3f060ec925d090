#pragma once
// The key handlers of the brand and model editors and the tuning editors.

// Registers them in the key table; 0, or -1 when a slot holds another handler.
int MenuService_RegisterKeys();
