#ifndef PRODUCT_H
#define PRODUCT_H

#include "config/argparser.h"

#include <QByteArrayList>
#include <QStringList>

#include <memory>
#include <vector>

// A wheel product as the command line would describe it.
struct Product {
    explicit Product(const QStringList& options)
    {
        words << "rimglow";
        for (const QString& option : options)
            words << option.toLocal8Bit();
        for (QByteArray& word : words)
            pointers.push_back(word.data());
        configuration = std::make_unique<ArgParser>(int(pointers.size()), pointers.data());
    }

    static QStringList demo(const QString& name = "DEMO", bool hall = false)
    {
        QStringList options{"-n", name, "-s", "16x8",  "-o", "80",
                            "-i", "16", "-v", "D12x3", "-c", "red+blue"};
        if (hall)
            options << "-h";
        return options;
    }

    QByteArrayList words;
    std::vector<char*> pointers;
    std::unique_ptr<ArgParser> configuration;
};

#endif
