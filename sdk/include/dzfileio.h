// DzFileIO: the base of the host's exporters and importers. An I/O class gives
// its options through the settings object the host passes in, and does its
// work in the protected write/read of its subclass.
//
// Stand-in choices where the host's behaviour is not stated:
// - getOptions() calls getDefaultOptions() (which is where the plug-ins put
//   their options dialog) and returns true; it has no store of last-used
//   options, so `useInterface` and `filename` change nothing.
// - getOptionsFrame() gives no frame (null).
// - A non-empty getPreIOErrorString() stops writeFile/readFile with
//   DZ_OPERATION_FAILED_ERROR before any work is done.
//
// As in the host, this header only declares DzFileIOSettings; a source that
// calls the settings object includes dzfileiosettings.h. What still differs:
// the host's header also declares the options frame (DzFileIOFrame, here only
// named) and dialog classes and so pulls in its dialog headers; the plug-in
// uses neither.
#pragma once

#include "dzbase.h"

class DzFileIOFrame;
class DzFileIOSettings;

class DZ_EXPORT DzFileIO : public DzBase {
    Q_OBJECT
public:
    DzFileIO();
    ~DzFileIO() override;

    // The caller owns the returned frame; the stand-in has none.
    virtual DzFileIOFrame* getOptionsFrame() const { return nullptr; }

public slots:
    // Fills `options` with this class's options; every I/O class implements it.
    virtual void getDefaultOptions(DzFileIOSettings* options) const = 0;
    // Fills `options`; false means the user cancelled.
    virtual bool getOptions(DzFileIOSettings* options, bool useInterface,
                            const QString& filename) const;

protected:
    virtual void startIO() {}
    virtual void finishIO() {}
    // A non-empty text stops the operation before it starts.
    virtual QString getPreIOErrorString() { return QString(); }
};
