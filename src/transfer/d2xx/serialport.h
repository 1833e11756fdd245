#ifndef SERIALPORT_H
#define SERIALPORT_H

#include <QString>
#include <QtGlobal>

// A serial device node opened exclusively, with exact baud rates and time-outs on reading and
// writing. Closed on destruction.
class SerialPort {
public:
    enum Parity { NoParity, OddParity, EvenParity };

    SerialPort() = default;
    ~SerialPort() { close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool open(const QString& path);
    bool close();

    bool setBaudRate(int rate);
    bool setDataCharacteristics(int dataBits, int stopBits, Parity parity);
    bool setNoFlowControl();
    // 0 for writing means as long as the line needs for the bytes, and a second more.
    void setTimeouts(int readMs, int writeMs);

    // Both return the number of bytes moved before the time-out, or -1 on an error.
    qint64 write(const char* data, qint64 size);
    qint64 read(char* data, qint64 size);
    // Waits until every written byte has left, without discarding any of them.
    bool drain();
    bool discardInput();

private:
    int fd = -1;
    int baudRate = 9600;
    int readTimeout = 0;
    int writeTimeout = 0;
};

#endif
