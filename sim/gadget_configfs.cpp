#include "gadget_configfs.h"

#include "sim_bus.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt::sim {
namespace {

std::string hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string failure(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

GadgetConfig::GadgetConfig(std::string gadgetsFolder, std::string name)
    : m_gadget(std::move(gadgetsFolder) + "/" + name)
    , m_name(std::move(name))
{
}

GadgetConfig::~GadgetConfig()
{
    if (m_bound)
        unbind(nullptr);
    remove();
}

bool GadgetConfig::write(const std::string &file, const std::string &value, std::string *whyNot) const
{
    const std::string path = m_gadget + "/" + file;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    // configfs takes a value in one write; an empty one needs its newline.
    const std::string line = value + "\n";
    const bool written = fd >= 0 && ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    if (!written && whyNot)
        *whyNot = failure(path);
    if (fd >= 0)
        ::close(fd);
    return written;
}

bool GadgetConfig::makeFolder(const std::string &folder, std::string *whyNot)
{
    const std::string path = m_gadget + (folder.empty() ? "" : "/" + folder);
    if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    *whyNot = failure(path);
    return false;
}

bool GadgetConfig::create(std::string *whyNot)
{
    m_created = true; // whatever was made is removed again
    const std::string function = "functions/ffs." + m_name;
    const bool made = makeFolder("", whyNot) && write("idVendor", hex(SimVendorId), whyNot)
                   && write("idProduct", hex(SimProductId), whyNot) && write("bcdUSB", "0x0200", whyNot)
                   && makeFolder("strings/0x409", whyNot) && write("strings/0x409/manufacturer", "KVT", whyNot)
                   && write("strings/0x409/product", "KVT-1.0", whyNot)
                   && write("strings/0x409/serialnumber", "0001", whyNot) && makeFolder("configs/c.1", whyNot)
                   && makeFolder("configs/c.1/strings/0x409", whyNot)
                   && write("configs/c.1/strings/0x409/configuration", "KVT-1.0", whyNot)
                   && makeFolder(function, whyNot);
    if (!made)
        return false;
    const std::string link = m_gadget + "/configs/c.1/ffs." + m_name;
    if (::symlink((m_gadget + "/" + function).c_str(), link.c_str()) != 0 && errno != EEXIST) {
        *whyNot = failure(link);
        return false;
    }
    return true;
}

bool GadgetConfig::bind(const std::string &controller, std::string *whyNot)
{
    m_bound = write("UDC", controller, whyNot);
    return m_bound;
}

bool GadgetConfig::unbind(std::string *whyNot)
{
    m_bound = false;
    return write("UDC", "", whyNot);
}

// configfs removes a gadget from the inside out.
void GadgetConfig::remove()
{
    if (!m_created)
        return;
    ::unlink((m_gadget + "/configs/c.1/ffs." + m_name).c_str());
    for (const char *folder : {"configs/c.1/strings/0x409", "configs/c.1", "strings/0x409"})
        ::rmdir((m_gadget + "/" + folder).c_str());
    ::rmdir((m_gadget + "/functions/ffs." + m_name).c_str());
    ::rmdir(m_gadget.c_str());
    m_created = false;
}

} // namespace kvt::sim
