// "gltfspinnerapplet.qvm": the spinner applet showing a glTF model with the PNG texture its
// material names, read by the model and image loader modules that the package brings.
#include "SpinnerApplet.h"
#include "modules/ModuleExport.h"

namespace
{
class GltfSpinnerApplet : public SpinnerApplet
{
public:
    GltfSpinnerApplet()
        : SpinnerApplet("gltfspinnerapplet.qvm", "glTF Spinner Applet", "crate.gltf", nullptr)
    {
    }
};
}  // namespace

QV_DEFINE_MODULE(GltfSpinnerApplet)
