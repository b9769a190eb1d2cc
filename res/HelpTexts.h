#pragma once

// A short description of each page, by dialog template number.
const char* PageHelpText(int dialogId);
