#include "ui/application.h"

int main(int argc, char** argv) { return kestrova::ui::Run(argc, argv); }
