#pragma once
// How each kind of object is named in the tree and in messages, and which Edit
// commands it allows.
#include <string>

namespace meridal {

class IEditCommands;
class TAltitude;
class TBase;
class TWall;

// "Track", "Section 3 (straight)", "Section 4 (curved)", "Wall 1", "Altitude 0".
std::string Label(const TBase& object);
// The same for an object whose kind is known: the tree names thousands at once.
std::string Label(const TWall& wall);
std::string Label(const TAltitude& altitude);
// Sets the eight command items of the Edit layout for the object (the separators
// are left alone).
void EnableCommands(const TBase& object, IEditCommands& menu);

}  // namespace meridal
