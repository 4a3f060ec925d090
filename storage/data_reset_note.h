#pragma once
// Stored data that failed its check and gave way to defaults is said on the console, one line each, as
// "<what> reset: <why>", so that a person learns what the unit lost instead of meeting defaults unawares.
void StoredDataResetNote(const char* what, const char* why);
