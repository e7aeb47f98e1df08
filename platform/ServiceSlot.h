#pragma once
// Where a seam keeps its service: the one a test installed, or else the Qt
// implementation, made on first use.
namespace platform {

template <class Service, class QtImplementation>
class ServiceSlot {
public:
    static Service &current() { return s_installed ? *s_installed : qtImplementation(); }
    // nullptr puts the Qt implementation back.
    static void install(Service *service) { s_installed = service; }

private:
    static Service &qtImplementation()
    {
        static QtImplementation implementation;
        return implementation;
    }
    static inline Service *s_installed = nullptr;
};

} // namespace platform
