// Modal message boxes over the frame: error, warning, question and the fatal
// form, behind one replaceable service so tests can answer them.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

class QWidget;

namespace torva {

inline constexpr const char* kAppTitle = "TORVA 6 for RT12";

enum class BoxKind { error, warning, question };

// Button codes returned by a box (the platform's numbers).
inline constexpr int kBoxOk = 1;
inline constexpr int kBoxYes = 6;
inline constexpr int kBoxNo = 7;

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows one box and returns the button pressed.
    virtual int show_box(BoxKind kind, const std::string& title, const std::string& text) = 0;
};

// The text of a box: the format with its first "%s" filled by the argument,
// the argument alone without a format, the format alone without an argument.
std::string box_text(const std::optional<std::string>& format,
                     const std::optional<std::string>& argument);

// The format with its "%s" filled left to right by the arguments; text that
// an argument brings in is never filled again.
std::string fill_strings(const std::string& format, std::initializer_list<std::string> arguments);

// The application's boxes, titled "TORVA 6 for RT12".
class MessageBoxes {
public:
    explicit MessageBoxes(MessageService& service) : service_(&service) {}

    int error(const std::optional<std::string>& format,
              const std::optional<std::string>& argument = std::nullopt);
    int warning(const std::optional<std::string>& format,
                const std::optional<std::string>& argument = std::nullopt);
    int question(const std::optional<std::string>& format,
                 const std::optional<std::string>& argument = std::nullopt);
    // A box with a title of its own (the simulator's, the bootstrapper's).
    int titled(BoxKind kind, const std::string& title, const std::string& text) {
        return service_->show_box(kind, title, text);
    }
    // Shows "FATAL ERROR: %s, Closing %s"; the caller then sends Exit.
    void fatal_text(const std::string& text);

    void set_service(MessageService& service) { service_ = &service; }

private:
    MessageService* service_;
};

// The real boxes (QMessageBox) over an owner window.
class QtMessageService final : public MessageService {
public:
    explicit QtMessageService(QWidget* owner = nullptr) : owner_(owner) {}
    void set_owner(QWidget* owner) { owner_ = owner; }
    int show_box(BoxKind kind, const std::string& title, const std::string& text) override;

private:
    QWidget* owner_;
};

} // namespace torva
