#pragma once

#include <string>

namespace kvt::sim {

// The instrument as a configfs gadget (libcomposite): vendor 0x03EB, product
// 0x0120, configuration 1 holding one FunctionFS function, whose descriptors
// the program writes to ep0 itself. Binding it to a USB device controller is
// plugging the instrument in; unbinding, pulling it out.
class GadgetConfig {
public:
    // gadgetsFolder: configfs's usb_gadget folder; name: the gadget's and
    // the function instance's (the FunctionFS file system's source) name.
    GadgetConfig(std::string gadgetsFolder, std::string name);
    ~GadgetConfig(); // unbinds and removes what create made
    GadgetConfig(const GadgetConfig &) = delete;
    GadgetConfig &operator=(const GadgetConfig &) = delete;

    const std::string &name() const { return m_name; }
    bool create(std::string *whyNot);
    bool bind(const std::string &controller, std::string *whyNot);
    bool unbind(std::string *whyNot);

private:
    bool write(const std::string &file, const std::string &value, std::string *whyNot) const;
    bool makeFolder(const std::string &folder, std::string *whyNot);
    void remove();

    std::string m_gadget; // its folder
    std::string m_name;
    bool m_created = false;
    bool m_bound = false;
};

} // namespace kvt::sim
