#pragma once

#include "platform/dialog/CDataExchange.h"

class CWnd;

// Data exchange between page members and controls, in the order a page calls them.
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// The integer an edit box's text stands for, saturated to int; false for empty or other text.
// The shared whole-number rule (platform/DecimalDigits.h), with Unicode white space around the
// number forgiven as well as ASCII.
bool ParseWholeNumber(const QString& text, int& value);
