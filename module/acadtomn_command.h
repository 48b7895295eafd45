#pragma once

namespace tavrin {

// The command "acadtomn": asks for the base point and the lines and arcs,
// collects, cleans and orders the axes, then runs the export. Everything it
// makes is released before it returns, also when an exception leaves it.
void acadtomn();

}  // namespace tavrin
