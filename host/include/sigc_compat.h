// The SigC:: names the plug-in is written against, on top of libsigc++ 3.0.
#ifndef QUENLORA_SIGC_COMPAT_H
#define QUENLORA_SIGC_COMPAT_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <sigc++/sigc++.h>

namespace SigC
{

// Base of every class with slots: its connections are cut when it is destroyed.
using Object = sigc::trackable;

template <class R> using Signal0 = sigc::signal<R()>;
template <class R, class A1> using Signal1 = sigc::signal<R(A1)>;
template <class R, class A1, class A2> using Signal2 = sigc::signal<R(A1, A2)>;

// A member-function slot bound to an object.
template <class Obj, class Cls, class R, class... Args>
auto slot(Obj &object, R (Cls::*method)(Args...))
{
    return sigc::mem_fun(static_cast<Cls &>(object), method);
}

template <class Obj, class Cls, class R, class... Args>
auto slot(Obj *object, R (Cls::*method)(Args...))
{
    return sigc::mem_fun(*static_cast<Cls *>(object), method);
}

} // namespace SigC

#pragma GCC visibility pop

#endif
