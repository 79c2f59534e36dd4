// Form1: the statistics run.
#include "app/Form1.h"
#include "ui_Form1.h"

void Form1::Command5_Click() {}
