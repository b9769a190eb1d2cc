#pragma once

#include "platform/dialog/CDataExchange.h"

class CWnd;

// Data exchange between page members and controls, in the order a page calls them.
// What an edit box holds is its text; the page that owns the value checks it and, when it
// refuses it, fails the exchange with its own message (CDataExchange::Fail).
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, QString& text);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
