#pragma once

#include "loaders/QVLoaderModule.h"

// The module of "qvproploader.qvm" (type "Properties Loader"): reads and writes property files
// for QVProperties clients.
//
// File format: records of key=value, the key being everything up to the first "=" and the value
// the rest of that line (so a value may hold "="). Keys and values are trimmed of tabs, line
// feeds, carriage returns and blanks at both ends, which makes LF and CR LF line ends, blank
// lines and indentation harmless. A line without "=" becomes the front of the next record's key;
// text after the last "=" line is ignored; the parse stops where the remaining text starts with
// "=". A file is 8-bit text, or 16-bit after FF FE (little-endian) or FE FF (big-endian); after
// EF BB BF (UTF-8) the bytes are 8-bit text. Keys become 8-bit texts (a 16-bit character beyond
// 8 bits becomes "?"); values keep the width of the file. There is no comment, quoting or escape
// syntax.
class QVPropLoader : public QVLoaderModule
{
public:
    // File name "qvproploader.qvm", name and type "Properties Loader", platform "All",
    // description "Property files", extension "any" (every file name).
    QVPropLoader();
    virtual ~QVPropLoader();

    using QVLoaderModule::Load;
    using QVLoaderModule::Save;

    // Adds the file's records to the property set (a later record of one key replaces the value
    // of an earlier one), then rebalances the set's map. True however many records were found;
    // false when client is not a property set or the file cannot be opened or read.
    bool Load(QVModCollection* client, const QVString& fileName) override;

    // Writes every entry in ascending hash order as key, "=", value and a line feed, in the
    // set's encoding (16-bit: after FF FE), and a final zero character. An entry with an empty
    // key is written with a blank before its "=", so that reading the file back keeps it and the
    // entries after it; an 8-bit file whose first key begins with the bytes of a byte-order mark
    // starts with a line feed, so that they are not read back as a mark.
    //
    // Nothing is written unless every entry reads back the same: false, the file untouched, when
    // a key or value holds a zero, a value a line feed, a key an "=", either begins or ends with
    // a blank, tab, line feed or carriage return, a value a character beyond 8 bits in an 8-bit
    // file, or a 16-bit key a character beyond ASCII. The file is replaced whole (through a
    // temporary file beside it) and only once it is complete. False too when client is not a
    // property set, fileName names no regular file (a device, a directory) or writing fails.
    bool Save(QVModCollection* client, const QVString& fileName) override;
};
