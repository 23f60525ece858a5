#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>

namespace widgets {

// The controls a template built, findable by control id. Holds guarded pointers: a control
// destroyed with its window reads as nullptr. Every control with an id also carries the
// object name "control_<id>", so tests can find it with QObject::findChild.
class DialogControls {
  public:
    void add(int controlId, QWidget* control);

    // The control of `controlId` if it exists and is a T, else nullptr.
    template <typename T = QWidget>
    T* find(int controlId) const {
        const auto found = m_controls.find(controlId);
        if (found == m_controls.end()) {
            return nullptr;
        }
        return qobject_cast<T*>(found->second.data());
    }

    // Like find, but a missing control or one of another type is a programming error: it
    // aborts with a message naming the id.
    template <typename T = QWidget>
    T& get(int controlId) const {
        T* control = find<T>(controlId);
        if (control == nullptr) {
            missingControl(controlId);
        }
        return *control;
    }

    bool contains(int controlId) const { return find(controlId) != nullptr; }
    const std::map<int, QPointer<QWidget>>& all() const { return m_controls; }

    static QString objectNameFor(int controlId);

  private:
    [[noreturn]] static void missingControl(int controlId);

    std::map<int, QPointer<QWidget>> m_controls;
};

}  // namespace widgets
