// A comment may name QEventLoop.
void wait()
{
    QCoreApplication::processEvents();
}
