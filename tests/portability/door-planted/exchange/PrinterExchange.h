class PrinterExchange : public QObject {
public:
    TComPort Port;
    int Speed() const;
private:
    TComDataPacket Packets;
};
