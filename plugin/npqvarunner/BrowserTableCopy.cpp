#include "plugin/npqvarunner/BrowserTableCopy.h"

namespace
{
NPNetscapeFuncs& Copy()
{
    static NPNetscapeFuncs funcs = {};
    return funcs;
}
}  // namespace

NPError QVCopyBrowserFuncs(const NPNetscapeFuncs* browserFuncs)
{
    if (browserFuncs == nullptr)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    if ((browserFuncs->version >> 8) > kNPVersionMajor)
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (browserFuncs->size < QVMinimumBrowserFuncsSize)
        return NPERR_INVALID_FUNCTABLE_ERROR;

    NPNetscapeFuncs& copy = Copy();
    copy.size = browserFuncs->size;
    copy.version = browserFuncs->version;
    copy.geturl = browserFuncs->geturl;
    copy.posturl = browserFuncs->posturl;
    copy.requestread = browserFuncs->requestread;
    copy.newstream = browserFuncs->newstream;
    copy.write = browserFuncs->write;
    copy.destroystream = browserFuncs->destroystream;
    copy.status = browserFuncs->status;
    copy.uagent = browserFuncs->uagent;
    copy.memalloc = browserFuncs->memalloc;
    copy.memfree = browserFuncs->memfree;
    copy.memflush = browserFuncs->memflush;
    copy.reloadplugins = browserFuncs->reloadplugins;
    copy.geturlnotify = browserFuncs->geturlnotify;
    copy.posturlnotify = browserFuncs->posturlnotify;
    copy.getvalue = browserFuncs->getvalue;
    copy.setvalue = browserFuncs->setvalue;
    copy.invalidaterect = browserFuncs->invalidaterect;
    copy.invalidateregion = browserFuncs->invalidateregion;
    copy.forceredraw = browserFuncs->forceredraw;
    return NPERR_NO_ERROR;
}

const NPNetscapeFuncs& QVBrowserFuncs() { return Copy(); }
