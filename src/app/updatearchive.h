#ifndef UPDATEARCHIVE_H
#define UPDATEARCHIVE_H

class QWidget;

// An update archive that an earlier run downloaded into the current directory. Installing it
// is the external updater's work; this only tests the archive, asks the user once, unpacks it
// and starts the updater.
class UpdateArchive {
public:
    // True when the updater has taken over and the program is to end.
    static bool install(QWidget* splash);
    static const char* updaterName();
};

#endif
