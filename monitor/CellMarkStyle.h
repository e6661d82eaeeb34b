// The colours of the cell marks, one table for every list that marks its values: readable
// without telling red from green (dark with white text, amber with black, pale with black).
#pragma once

#include "BankTriageText.h"
#include "ReportList.h"

ReportItemStyle cellMarkStyle(triage::CellMark mark);
