void run() { QEventLoop loop; }
