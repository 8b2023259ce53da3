// The report commands of the main window: the status report and the printout.
#include "app/form1.h"

namespace listora {

void Form1::Command13_Click() {}
void Form1::Command7_Click() {}

} // namespace listora
