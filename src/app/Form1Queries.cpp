// Form1: the anomaly queries and the punch query.
#include "app/Form1.h"
#include "ui_Form1.h"

void Form1::Command2_Click() {}
void Form1::Command8_Click() {}
void Form1::Command9_Click() {}
void Form1::Command10_Click() {}
void Form1::Command11_Click() {}
void Form1::Command12_Click() {}
void Form1::Command13_Click() {}
void Form1::Command14_Click() {}
