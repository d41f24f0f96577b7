// The print module ("quorvel-print"): the print windows as a plugin of the program.

#include "printing/ReportWindows.h"

namespace qv::report {

class PrintWindowsModule : public QObject, public PrintWindows {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QV_PRINT_WINDOWS_IID)
    Q_INTERFACES(qv::report::PrintWindows)
public:
    void deliver(const PrintableDocument& document, platform::Dialogs& dialogs) const override
    {
        QtReportOutput().deliver(document, dialogs);
    }
};

}  // namespace qv::report

#include "PrintWindowsModule.moc"
