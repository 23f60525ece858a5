#include "mixer/window/orvindel_application.h"

#include "mixer/window/main_window.h"

namespace mixer {

OrvindelApplication::OrvindelApplication()
    : compressors_(editing::CompressorRegistry::discover()) {}

int OrvindelApplication::run() {
    MainWindow window(store_, MainWindowPorts{prompt_, filePicker_, launcher_}, compressors_);
    window.exec();
    return 0;
}

}  // namespace mixer
