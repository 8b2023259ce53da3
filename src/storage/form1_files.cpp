// The file commands of the main window: open, save, the file-name panel and the backup.
#include "app/form1.h"

namespace listora {

void Form1::Command1_Click() {}
void Form1::openTaskFile(const QString &) {}
void Form1::Command2_Click() {}
void Form1::Command14_Click() {}
void Form1::Command15_Click() {}

} // namespace listora
