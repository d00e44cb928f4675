// The yardstick for start-up: the least a Qt Widgets window with two text boxes costs, built
// with the same flags as the program and started the same way.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Baseline"));
  window.setFixedSize(204, 162);
  auto* top = new QLineEdit(&window);
  top->setGeometry(54, 20, 122, 22);
  auto* bottom = new QLineEdit(&window);
  bottom->setGeometry(54, 50, 122, 22);
  window.show();
  return QApplication::exec();
}
