#pragma once

namespace setzaiko {

// Shows the hourglass for as long as it lives, and restores the pointer however the scope
// is left.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Restores the pointer now rather than at the end of the scope.
    void release();

private:
    bool m_active = true;
};

} // namespace setzaiko
