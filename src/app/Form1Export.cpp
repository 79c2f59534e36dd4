// Form1: the export of the result grid.
#include "app/Form1.h"
#include "app/controls/FlexGrid.h"
#include "ui_Form1.h"

void Form1::Command3_Click() { ExportToExcel(*ui->MSHFlexGrid1); }

void Form1::ExportToExcel(kq::ui::FlexGrid& myflexgrid) { (void)myflexgrid; }
