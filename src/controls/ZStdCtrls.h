#pragma once

// The control module: numeric entry fields and the bordered combo box, plus
// the program-wide decimal separator they type and show.

// The decimal separator of every numeric field: ',' or '.'. Taken once from
// the system locale on first use; SetZDecimalSeparator overrides it (any
// character other than ',' is taken as '.').
char ZDecimalSeparator();
void SetZDecimalSeparator(char separator);

#include "ZComboBox.h"
#include "ZCustomEdit.h"
#include "ZCustomFloatEdit.h"
#include "ZFloatEdit.h"
