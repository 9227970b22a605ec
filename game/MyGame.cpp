// STUB: the benchmark game.
#include "MyGame.h"
void MyGame::Launch() {}
void MyGame::Loader() {}
void MyGame::DoGame() {}
void MyGame::GameLoop() {}
void MyGame::KeepAlive() { VeskKeepAlive(*this); }
void MyGame::Update() {}
void MyGame::Render() { RenderGame(ViewWidth, ViewHeight); }
