#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <type_traits>
#include <typeindex>

namespace listora {

class Platform;
class AboutWindow;

// What the other windows may do to the main window: write its title bar (the
// hover help) and put its own icon back in its About picture.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual void setTitle(const QString &title) = 0;
    virtual void showOwnIconInAboutPicture() = 0;
    virtual QWidget *widget() = 0;
};

// The windows other than the main one: each exists at most once, is created (loaded
// hidden, its constructor being its load step) on first use and is destroyed by
// its close box.
class Windows {
public:
    explicit Windows(Platform &platform) : platform_(platform) {}
    ~Windows();
    Windows(const Windows &) = delete;
    Windows &operator=(const Windows &) = delete;

    Platform &platform() const { return platform_; }
    void setMainWindow(MainWindowLink *window) { main_ = window; }
    MainWindowLink *mainWindow() const { return main_; }

    // The loaded window, loading it hidden when needed.
    template <class W> W &get()
    {
        QPointer<QWidget> &slot = slot_for(typeid(W));
        if (!slot) {
            auto *window = new W(*this);
            window->setAttribute(Qt::WA_DeleteOnClose);
            // The About window closes on Esc through its Ok button.
            if constexpr (!std::is_same_v<W, AboutWindow>)
                closeOnEscape(*window);
            slot = window;
        }
        return *static_cast<W *>(slot.data());
    }

    // The loaded window, or null when it is not loaded.
    template <class W> W *find()
    {
        return static_cast<W *>(slot_for(typeid(W)).data());
    }

    // Loads when needed, shows modeless and brings the window forward.
    template <class W> W &show()
    {
        W &window = get<W>();
        present(window);
        return window;
    }

private:
    QPointer<QWidget> &slot_for(std::type_index type);
    static void present(QWidget &window);
    // Esc works like the window's close box.
    static void closeOnEscape(QWidget &window);

    Platform &platform_;
    MainWindowLink *main_ = nullptr;
    std::map<std::type_index, QPointer<QWidget>> slots_;
};

// Centres a top-level window on its screen.
void centreOnScreen(QWidget &window);

} // namespace listora
