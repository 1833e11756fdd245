#ifndef SENDCOMMAND_H
#define SENDCOMMAND_H

#include "config/argparser.h"
#include "model/wheelweb.h"
#include "transfer/transfererror.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>

class TransferSequence;

// rimglow-send: stores a design's pictures, or picture files, in the wheel's slots without a
// window, for scripts and for shops that program wheel after wheel. The product is described
// by the same options as for the program; the exit status tells what went wrong.
class SendCommand {
public:
    enum Status {
        Sent = 0,
        BadCommandLine = 2,
        BadFile = 3,
        NoDongle = 4,
        NoAccess = 5,
        WheelProblem = 6,
        NotConfirmed = 7,
        NoRoom = 8
    };

    // Needs a QCoreApplication.
    int run(int argc, char** argv);

    static QString pictureCount(qsizetype count);

private:
    enum Again { Once, OnEnter, Automatic };

    int parse(int argc, char** argv);
    bool parseSlots(const QString& text);
    int load();
    // Reads and converts at most limit pictures; found counts them all.
    int readPictures(int limit, QList<QImage>* pictures, int* found);
    int exportPictures();
    int check();
    int sendToOneWheel();
    // The exit status of a failed transfer, with its message.
    int status(TransferError error, const TransferSequence& sequence);
    void waitForNextWheel();
    int fail(int status, const QString& message);

    std::unique_ptr<ArgParser> product;
    std::unique_ptr<WheelWeb> web;
    QList<int> chosen;
    QString exportFolder;
    int hallAngle = -1;
    bool checkOnly = false;
    Again again = Once;
    // Slot -> frame, as the wheel gets it.
    QMap<int, QByteArray> frames;
    int designCount = 0;
};

#endif
