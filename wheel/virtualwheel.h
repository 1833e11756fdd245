#ifndef VIRTUALWHEEL_H
#define VIRTUALWHEEL_H

#include "linedecoder.h"

#include <QMap>
#include <QStringList>

// A wheel light as the dongle's line sees it: answers the identity request, keeps the frames
// of store requests per slot, ignores clicks, and misbehaves on request.
class VirtualWheel {
public:
    struct Faults {
        bool silent = false;     // never answers
        bool shortReply = false; // answers one byte fewer than asked for
        bool wrongCrc = false;   // confirms stores with a wrong CRC
        int dropMessage = 0;     // ignores this message (counted from 1), 0 for none
    };

    VirtualWheel(const QByteArray& identity, int lines, int leds, int outer, int inner);

    void setFaults(const Faults& faults) { this->faults = faults; }
    // Where the frames go, each store writing slot-N.bin and slot-N.png; empty for nowhere.
    void setStoreFolder(const QString& folder) { storeFolder = folder; }

    // Takes line bytes and returns the replies of the messages they complete.
    QList<QByteArray> receive(const QByteArray& line);
    // The line went quiet: a half-received message is dropped.
    void idle();

    QMap<int, QByteArray> getFrames() const { return frames; }
    int getFrameSize() const { return frameSize; }
    QStringList reports;

private:
    enum Check { Incomplete, Complete, Unknown };
    Check check() const;
    QByteArray answer();
    void store(int slot, const QByteArray& frame);
    bool writeFiles(int slot, const QByteArray& frame) const;
    void report(const QString& text);

    QByteArray identity;
    int lines;
    int leds;
    int outer;
    int inner;
    int frameSize;
    Faults faults;
    QString storeFolder;

    LineDecoder decoder;
    QByteArray message;
    bool dropping = false;
    int messageCount = 0;
    QMap<int, QByteArray> frames;
};

#endif
