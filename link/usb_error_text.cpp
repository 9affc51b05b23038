// libusb's own texts for its error codes: the one place they are made.
#include <libusb.h>

#include "usb_backend.h"

namespace morsk {

std::string UsbErrorText(int code)
{
    return libusb_strerror(code);
}

}  // namespace morsk
