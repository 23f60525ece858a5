#include <QApplication>

#include "recorder/recorder_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    recorder::RecorderApp recorderApp;
    return recorderApp.run();
}
