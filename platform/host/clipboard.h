// The clipboard a host offers its controls: one text shared by every control of the host. The headless
// host keeps it in memory, where tests read and set it; a host with a screen passes the system's.
#pragma once
#include <string>

namespace ax {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

class MemoryClipboard : public Clipboard {
  public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

  private:
    std::string text_;
};

}  // namespace ax
