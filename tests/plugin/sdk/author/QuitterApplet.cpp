// An applet with the mistakes the hosts are to point out: it asks for a module by name (which
// its package does not bring), then returns from Run without serving its window.
#include "modules/ModuleExport.h"
#include "modules/QVModManager.h"
#include "plugin/QVApplet.h"

class QuitterApplet : public QVApplet
{
public:
    QuitterApplet() { SetFileName(QVString("quitterapplet.qvm")); }
    bool Init(QVUIWindow*, QVAppletHost*, QVProperties*) override { return true; }
    int Run() override
    {
        GetModManager().LoadModule("qvnosuchmodule.qvm");
        return 0;
    }
};

QV_DEFINE_MODULE(QuitterApplet)
