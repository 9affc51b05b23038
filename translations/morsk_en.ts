<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
  <context>
    <name>morsk</name>
    <message>
      <source>   序列号 %1</source>
      <translation>   serial %1</translation>
    </message>
    <message>
      <source>   文件 = </source>
      <translation>   File = </translation>
    </message>
    <message>
      <source>  ——  请取出器件</source>
      <translation>  —  take the chip out</translation>
    </message>
    <message>
      <source>  ——  连续自动烧录已停止</source>
      <translation>  —  station mode stopped</translation>
    </message>
    <message>
      <source> 没有写入器件, 留给下一个</source>
      <translation> was not written, kept for the next chip</translation>
    </message>
    <message>
      <source> 没能退回: </source>
      <translation> could not be given back: </translation>
    </message>
    <message>
      <source>(无)</source>
      <translation>(none)</translation>
    </message>
    <message>
      <source>(读自器件 </source>
      <translation>(read from chip </translation>
    </message>
    <message>
      <source>EEPROM文件(*.EEP)</source>
      <translation>EEPROM files (*.EEP)</translation>
    </message>
    <message>
      <source>FLASH 只写到最后一个非空页为止，EEPROM 映像全为 0xFF 时不写入，大容量芯片编程快得多。</source>
      <translation>The flash is written up to the last page that is not empty, and an EEPROM image of only 0xFF is not written, so large chips program much faster.</translation>
    </message>
    <message>
      <source>Intel HEX文件(*.HEX)</source>
      <translation>Intel HEX files (*.HEX)</translation>
    </message>
    <message>
      <source>Morsk 编程器  2026</source>
      <translation>Morsk programmer  2026</translation>
    </message>
    <message>
      <source>Tarvel 1.0 版</source>
      <translation>Tarvel version 1.0</translation>
    </message>
    <message>
      <source>、</source>
      <translation>, </translation>
    </message>
    <message>
      <source>下一个序列号:</source>
      <translation>Next number:</translation>
    </message>
    <message>
      <source>下一个序列号不是一个数: %1</source>
      <translation>The next number is not a number: %1</translation>
    </message>
    <message>
      <source>下载器初始化出错!</source>
      <translation>Error initialising the programmer!</translation>
    </message>
    <message>
      <source>不是器件备份文件: %s: %s</source>
      <translation>Not a chip backup: %s: %s</translation>
    </message>
    <message>
      <source>不是所选的器件</source>
      <translation>Not the selected chip</translation>
    </message>
    <message>
      <source>不是所选的器件, 没有编程: 器件ID:</source>
      <translation>Not the selected chip, not programmed: device ID:</translation>
    </message>
    <message>
      <source>不能备份!</source>
      <translation>no backup made!</translation>
    </message>
    <message>
      <source>不记录</source>
      <translation>no log</translation>
    </message>
    <message>
      <source>中文</source>
      <translation>中文</translation>
    </message>
    <message>
      <source>二进制文件(*.BIN)</source>
      <translation>Binary files (*.BIN)</translation>
    </message>
    <message>
      <source>以文本保存</source>
      <translation>Save as text</translation>
    </message>
    <message>
      <source>作者：Morsk 开发组</source>
      <translation>Authors: the Morsk developers</translation>
    </message>
    <message>
      <source>保存文件</source>
      <translation>Save file</translation>
    </message>
    <message>
      <source>全部</source>
      <translation>All</translation>
    </message>
    <message>
      <source>全部删除</source>
      <translation>Remove all</translation>
    </message>
    <message>
      <source>全部增加</source>
      <translation>Add all</translation>
    </message>
    <message>
      <source>关于 Tarvel</source>
      <translation>About Tarvel</translation>
    </message>
    <message>
      <source>关于...</source>
      <translation>About...</translation>
    </message>
    <message>
      <source>写  入</source>
      <translation>Write</translation>
    </message>
    <message>
      <source>写入</source>
      <translation>written</translation>
    </message>
    <message>
      <source>写序列号...</source>
      <translation>Writing the serial number...</translation>
    </message>
    <message>
      <source>写序列号成功!</source>
      <translation>Serial number written!</translation>
    </message>
    <message>
      <source>写序列号错误...!</source>
      <translation>Error writing the serial number...!</translation>
    </message>
    <message>
      <source>写熔丝位...</source>
      <translation>Writing the fuses...</translation>
    </message>
    <message>
      <source>写熔丝位成功!</source>
      <translation>Fuses written!</translation>
    </message>
    <message>
      <source>写熔丝位错误...!</source>
      <translation>Error writing the fuses...!</translation>
    </message>
    <message>
      <source>写锁定位 %02X...</source>
      <translation>Writing lock byte %02X...</translation>
    </message>
    <message>
      <source>写锁定位成功!</source>
      <translation>Lock byte written!</translation>
    </message>
    <message>
      <source>写锁定位错误...!</source>
      <translation>Error writing the lock byte...!</translation>
    </message>
    <message>
      <source>准备就绪！</source>
      <translation>Ready!</translation>
    </message>
    <message>
      <source>删除</source>
      <translation>Remove</translation>
    </message>
    <message>
      <source>厂商名</source>
      <translation>Manufacturer</translation>
    </message>
    <message>
      <source>厂商名：</source>
      <translation>Manufacturer:</translation>
    </message>
    <message>
      <source>厂商标志</source>
      <translation>Logo</translation>
    </message>
    <message>
      <source>取  消</source>
      <translation>Cancel</translation>
    </message>
    <message>
      <source>取不到序列号: </source>
      <translation>No serial number to be had: </translation>
    </message>
    <message>
      <source>取消</source>
      <translation>Cancel</translation>
    </message>
    <message>
      <source>取消编程 </source>
      <translation>unprogram </translation>
    </message>
    <message>
      <source>只编程数据缓冲区中已用的部分</source>
      <translation>Program only the used part of the data buffer</translation>
    </message>
    <message>
      <source>器件</source>
      <translation>Chip</translation>
    </message>
    <message>
      <source>器件 %s 的容量超出数据缓冲区 (FLASH 最大 %u, EEPROM 最大 %u 字节)!</source>
      <translation>Chip %s is larger than the data buffer (flash at most %u, EEPROM at most %u bytes)!</translation>
    </message>
    <message>
      <source>器件ID %02X %02X %02X 属于列表中的几种器件。
插座中的器件是哪一种?</source>
      <translation>Device ID %02X %02X %02X belongs to several chips of the list.
Which one is in the socket?</translation>
    </message>
    <message>
      <source>器件ID (0x840000)</source>
      <translation>signature (0x840000)</translation>
    </message>
    <message>
      <source>器件ID:%2.2X %2.2X %2.2X</source>
      <translation>Device ID:%2.2X %2.2X %2.2X</translation>
    </message>
    <message>
      <source>器件不为空!</source>
      <translation>the chip is not blank!</translation>
    </message>
    <message>
      <source>器件功能选项</source>
      <translation>Chip operations</translation>
    </message>
    <message>
      <source>器件功能选项：</source>
      <translation>Chip operations:</translation>
    </message>
    <message>
      <source>器件名</source>
      <translation>Chip</translation>
    </message>
    <message>
      <source>器件名：</source>
      <translation>Chip:</translation>
    </message>
    <message>
      <source>器件备份(*.HEX) (*.[Hh][Ee][Xx])</source>
      <translation>Chip backups (*.HEX) (*.[Hh][Ee][Xx])</translation>
    </message>
    <message>
      <source>器件已加密 (锁定位 %02X): FLASH和EEPROM读不出来, 不能备份!</source>
      <translation>The chip is locked (lock byte %02X): flash and EEPROM cannot be read, no backup made!</translation>
    </message>
    <message>
      <source>器件特殊信息</source>
      <translation>Chip info</translation>
    </message>
    <message>
      <source>器件类型</source>
      <translation>Type</translation>
    </message>
    <message>
      <source>器件配置字</source>
      <translation>Fuse bits</translation>
    </message>
    <message>
      <source>在选择器件后清除缓冲区</source>
      <translation>Clear the buffer after a chip is selected</translation>
    </message>
    <message>
      <source>地  址: </source>
      <translation>Address: </translation>
    </message>
    <message>
      <source>地址</source>
      <translation>Address</translation>
    </message>
    <message>
      <source>地址:</source>
      <translation>Address:</translation>
    </message>
    <message>
      <source>地址不是一个数: %1</source>
      <translation>The address is not a number: %1</translation>
    </message>
    <message>
      <source>填充</source>
      <translation>Fill</translation>
    </message>
    <message>
      <source>增加</source>
      <translation>Add</translation>
    </message>
    <message>
      <source>备份器件</source>
      <translation>Back up chip</translation>
    </message>
    <message>
      <source>备份器件失败!</source>
      <translation>Backup failed!</translation>
    </message>
    <message>
      <source>备份器件完成: </source>
      <translation>Backup done: </translation>
    </message>
    <message>
      <source>备份文件 %s 的器件ID是 %s%s, 不是所选器件 %s 的!</source>
      <translation>Backup %s has device ID %s%s, not that of the selected chip %s!</translation>
    </message>
    <message>
      <source>备份文件 %s 的数据超出了器件 %s 的容量!</source>
      <translation>Backup %s holds more data than chip %s has room for!</translation>
    </message>
    <message>
      <source>备份文件保存失败!: %s: %s</source>
      <translation>The backup could not be saved!: %s: %s</translation>
    </message>
    <message>
      <source>备份文件打开错误 !!!: %s: %s</source>
      <translation>Error opening the backup !!!: %s: %s</translation>
    </message>
    <message>
      <source>复位</source>
      <translation>Reset</translation>
    </message>
    <message>
      <source>失败</source>
      <translation>Failed</translation>
    </message>
    <message>
      <source>失败  #%1</source>
      <translation>FAIL  #%1</translation>
    </message>
    <message>
      <source>失败 #%d %s: %s (%lld ms)</source>
      <translation>FAIL #%d %s: %s (%lld ms)</translation>
    </message>
    <message>
      <source>失败!</source>
      <translation>failed!</translation>
    </message>
    <message>
      <source>失败...!</source>
      <translation>failed...!</translation>
    </message>
    <message>
      <source>失败：</source>
      <translation>Failed:</translation>
    </message>
    <message>
      <source>字节数:</source>
      <translation>Bytes:</translation>
    </message>
    <message>
      <source>存储区:</source>
      <translation>Memory:</translation>
    </message>
    <message>
      <source>已停止: 成功 %lu, 失败 %lu
</source>
      <translation>Stopped: %lu passed, %lu failed
</translation>
    </message>
    <message>
      <source>帮助</source>
      <translation>Help</translation>
    </message>
    <message>
      <source>序列号</source>
      <translation>Serial number</translation>
    </message>
    <message>
      <source>序列号 </source>
      <translation>Serial number </translation>
    </message>
    <message>
      <source>序列号 %llu 超出了 %d 字节 %s 的范围!</source>
      <translation>Serial number %llu does not fit %d bytes of %s!</translation>
    </message>
    <message>
      <source>序列号: </source>
      <translation>Serial number: </translation>
    </message>
    <message>
      <source>序列号和生产记录</source>
      <translation>Serial numbers and production log</translation>
    </message>
    <message>
      <source>序列号和生产记录...</source>
      <translation>Serial numbers and production log...</translation>
    </message>
    <message>
      <source>序列号地址 0x%X (%d 字节) 超出了器件 %s 的%s (%llu 字节)!</source>
      <translation>Serial number address 0x%X (%d bytes) is outside chip %s's %s (%llu bytes)!</translation>
    </message>
    <message>
      <source>恢复器件</source>
      <translation>Restore chip</translation>
    </message>
    <message>
      <source>恢复器件失败!</source>
      <translation>Restore failed!</translation>
    </message>
    <message>
      <source>恢复器件完成!</source>
      <translation>Restore done!</translation>
    </message>
    <message>
      <source>恢复器件需要确认: </source>
      <translation>Restoring needs consent: </translation>
    </message>
    <message>
      <source>恢复这个备份时: %1。
器件以后可能不能再用这个编程器编程。
仍然恢复吗?</source>
      <translation>Restoring this backup: %1.
This programmer may then no longer program the chip.
Restore it anyway?</translation>
    </message>
    <message>
      <source>成功</source>
      <translation>Passed</translation>
    </message>
    <message>
      <source>成功：</source>
      <translation>Passed:</translation>
    </message>
    <message>
      <source>所有文件(*.*)</source>
      <translation>All files (*.*)</translation>
    </message>
    <message>
      <source>所有文件(*.*) (*)</source>
      <translation>All files (*.*) (*)</translation>
    </message>
    <message>
      <source>打开</source>
      <translation>Open</translation>
    </message>
    <message>
      <source>打开CSV文件错误!
</source>
      <translation>Error opening the CSV file!
</translation>
    </message>
    <message>
      <source>找不到器件!</source>
      <translation>No chip found!</translation>
    </message>
    <message>
      <source>把 CKSEL3..0 设为 0000 (外部时钟)</source>
      <translation>set CKSEL3..0 to 0000 (external clock)</translation>
    </message>
    <message>
      <source>把成功和失败计数都清零吗?</source>
      <translation>Set both the passed and the failed count to zero?</translation>
    </message>
    <message>
      <source>插座中的器件是 %1/%2。
选择这个器件吗?</source>
      <translation>The chip in the socket is %1/%2.
Select this chip?</translation>
    </message>
    <message>
      <source>插座中的器件是: </source>
      <translation>The chip in the socket is: </translation>
    </message>
    <message>
      <source>操作已取消!</source>
      <translation>Operation cancelled!</translation>
    </message>
    <message>
      <source>操作已取消! 器件可能只写入了一部分</source>
      <translation>Operation cancelled! The chip may be only partly written</translation>
    </message>
    <message>
      <source>操作正在进行中。要取消这个操作并退出吗?</source>
      <translation>An operation is running. Cancel it and exit?</translation>
    </message>
    <message>
      <source>操作选项</source>
      <translation>Operation options</translation>
    </message>
    <message>
      <source>擦  除</source>
      <translation>Erase</translation>
    </message>
    <message>
      <source>擦除芯片...</source>
      <translation>Erasing the chip...</translation>
    </message>
    <message>
      <source>擦除芯片失败...!</source>
      <translation>Erase failed...!</translation>
    </message>
    <message>
      <source>擦除芯片成功!</source>
      <translation>Chip erased!</translation>
    </message>
    <message>
      <source>放入器件就开始自动烧录; 按"取消"停止</source>
      <translation>Put a chip in to start the auto sequence; "Cancel" stops</translation>
    </message>
    <message>
      <source>效  验</source>
      <translation>Verify</translation>
    </message>
    <message>
      <source>效验FLASH和EEPROM...</source>
      <translation>Verifying flash and EEPROM...</translation>
    </message>
    <message>
      <source>效验NORDIC FLASH成功!</source>
      <translation>NORDIC flash checked!</translation>
    </message>
    <message>
      <source>效验NORDIC FLASH错误...!</source>
      <translation>Error checking NORDIC flash...!</translation>
    </message>
    <message>
      <source>效验和</source>
      <translation>Checksum</translation>
    </message>
    <message>
      <source>效验和: </source>
      <translation>Checksum: </translation>
    </message>
    <message>
      <source>效验器件失败!</source>
      <translation>Verify failed!</translation>
    </message>
    <message>
      <source>效验器件失败,器件不为空!</source>
      <translation>Blank check failed, the chip is not blank!</translation>
    </message>
    <message>
      <source>效验器件完成!</source>
      <translation>Verify done!</translation>
    </message>
    <message>
      <source>效验器件已完成!</source>
      <translation>Blank check done!</translation>
    </message>
    <message>
      <source>效验序列号失败!</source>
      <translation>Serial number verify failed!</translation>
    </message>
    <message>
      <source>效验序列号完成!</source>
      <translation>Serial number verified!</translation>
    </message>
    <message>
      <source>数据</source>
      <translation>Data</translation>
    </message>
    <message>
      <source>数据缓冲区</source>
      <translation>Data buffer</translation>
    </message>
    <message>
      <source>数据缓冲区范围</source>
      <translation>Buffer range</translation>
    </message>
    <message>
      <source>数据缓冲区范围: </source>
      <translation>Buffer range: </translation>
    </message>
    <message>
      <source>文件</source>
      <translation>File</translation>
    </message>
    <message>
      <source>文件中未载入的段: </source>
      <translation>Sections of the file not loaded: </translation>
    </message>
    <message>
      <source>文件保存失败 !!!</source>
      <translation>The file could not be saved !!!</translation>
    </message>
    <message>
      <source>文件打开失败 !!!</source>
      <translation>The file could not be opened !!!</translation>
    </message>
    <message>
      <source>文件打开错误 !!!</source>
      <translation>Error opening the file !!!</translation>
    </message>
    <message>
      <source>文本文件(*.TXT) (*.[Tt][Xx][Tt])</source>
      <translation>Text files (*.TXT) (*.[Tt][Xx][Tt])</translation>
    </message>
    <message>
      <source>最近打开的项目</source>
      <translation>Recent files</translation>
    </message>
    <message>
      <source>本软件暂不支持您所选择的芯片，请重新选择！</source>
      <translation>This program does not support the selected chip yet; please select another!</translation>
    </message>
    <message>
      <source>查  空</source>
      <translation>Blank check</translation>
    </message>
    <message>
      <source>查找</source>
      <translation>Find</translation>
    </message>
    <message>
      <source>查看数据缓冲区的内容</source>
      <translation>View the contents of the data buffer</translation>
    </message>
    <message>
      <source>格式:</source>
      <translation>Format:</translation>
    </message>
    <message>
      <source>步长:</source>
      <translation>Step:</translation>
    </message>
    <message>
      <source>没有写入任何数据!</source>
      <translation>Nothing was written!</translation>
    </message>
    <message>
      <source>注意: 缓冲区中的数据超出了所选器件的容量!</source>
      <translation>Note: the buffer holds data beyond the selected chip's size!</translation>
    </message>
    <message>
      <source>注意：未擦除的芯片上，EEPROM 中原有的数据因此会保留。</source>
      <translation>Note: on a chip that was not erased, the EEPROM keeps its old data.</translation>
    </message>
    <message>
      <source>注意：请谨慎设置容丝位!</source>
      <translation>Note: set the fuse bits with care!</translation>
    </message>
    <message>
      <source>浏览...</source>
      <translation>Browse...</translation>
    </message>
    <message>
      <source>清除缓冲区</source>
      <translation>Clear buffer</translation>
    </message>
    <message>
      <source>熔丝位 (0x820000)</source>
      <translation>fuses (0x820000)</translation>
    </message>
    <message>
      <source>熔丝位: %02X %02X %02X  锁定位: %02X</source>
      <translation>Fuses: %02X %02X %02X  lock byte: %02X</translation>
    </message>
    <message>
      <source>熔丝位将</source>
      <translation>the fuses would </translation>
    </message>
    <message>
      <source>熔丝位设置</source>
      <translation>Fuse bits</translation>
    </message>
    <message>
      <source>状态</source>
      <translation>Status</translation>
    </message>
    <message>
      <source>生产记录</source>
      <translation>Production log</translation>
    </message>
    <message>
      <source>生产记录 (CSV, 每次操作一行)</source>
      <translation>Production log (CSV, one line per operation)</translation>
    </message>
    <message>
      <source>生产记录写入失败!: </source>
      <translation>The production log could not be written!: </translation>
    </message>
    <message>
      <source>相关链接：https://example.org/morsk</source>
      <translation>Link: https://example.org/morsk</translation>
    </message>
    <message>
      <source>确  定</source>
      <translation>OK</translation>
    </message>
    <message>
      <source>确定</source>
      <translation>OK</translation>
    </message>
    <message>
      <source>程序文件(*.BIN,*.HEX)</source>
      <translation>Program files (*.BIN,*.HEX)</translation>
    </message>
    <message>
      <source>等待器件...
</source>
      <translation>Waiting for a chip...
</translation>
    </message>
    <message>
      <source>给每个编程的器件写入序列号</source>
      <translation>Write a serial number into every programmed chip</translation>
    </message>
    <message>
      <source>编  程</source>
      <translation>Program</translation>
    </message>
    <message>
      <source>编程 </source>
      <translation>program </translation>
    </message>
    <message>
      <source>编程EEPROM...</source>
      <translation>Programming EEPROM...</translation>
    </message>
    <message>
      <source>编程EEPROM成功!</source>
      <translation>EEPROM programmed!</translation>
    </message>
    <message>
      <source>编程EEPROM错误...!</source>
      <translation>Error programming EEPROM...!</translation>
    </message>
    <message>
      <source>编程FLASH...</source>
      <translation>Programming flash...</translation>
    </message>
    <message>
      <source>编程FLASH成功!</source>
      <translation>Flash programmed!</translation>
    </message>
    <message>
      <source>编程FLASH错误...!</source>
      <translation>Error programming flash...!</translation>
    </message>
    <message>
      <source>编程NORDIC...</source>
      <translation>Programming NORDIC...</translation>
    </message>
    <message>
      <source>编程NORDIC成功!</source>
      <translation>NORDIC programmed!</translation>
    </message>
    <message>
      <source>编程NORDIC错误...!</source>
      <translation>Error programming NORDIC...!</translation>
    </message>
    <message>
      <source>编程参数</source>
      <translation>Parameters</translation>
    </message>
    <message>
      <source>编程器件完成!</source>
      <translation>Programming done!</translation>
    </message>
    <message>
      <source>编程器正被其他程序使用，本次操作没有进行!</source>
      <translation>The programmer is in use by another program; this operation did not run!</translation>
    </message>
    <message>
      <source>编程选项</source>
      <translation>Auto sequence</translation>
    </message>
    <message>
      <source>编辑</source>
      <translation>Edit</translation>
    </message>
    <message>
      <source>编辑自动烧录</source>
      <translation>Edit auto</translation>
    </message>
    <message>
      <source>编辑自动烧录方式</source>
      <translation>Edit the auto sequence</translation>
    </message>
    <message>
      <source>编辑自动烧录的步骤</source>
      <translation>Edit the steps of the auto sequence</translation>
    </message>
    <message>
      <source>自  动</source>
      <translation>Auto</translation>
    </message>
    <message>
      <source>自动已完成!</source>
      <translation>Auto done!</translation>
    </message>
    <message>
      <source>自动烧录失败!</source>
      <translation>Auto run failed!</translation>
    </message>
    <message>
      <source>自动烧录方式</source>
      <translation>Auto sequence</translation>
    </message>
    <message>
      <source>自动烧录方式：</source>
      <translation>Auto sequence:</translation>
    </message>
    <message>
      <source>自动烧录步骤为空! 请用"编辑自动烧录"添加步骤</source>
      <translation>The auto sequence has no steps! Add them with "Edit auto"</translation>
    </message>
    <message>
      <source>芯片没有应答（没有芯片、芯片型号不对或接触不良）</source>
      <translation>The chip did not answer (no chip, a different chip, or a bad contact)</translation>
    </message>
    <message>
      <source>设置未能保存到 setup.ini!</source>
      <translation>The settings could not be saved to setup.ini!</translation>
    </message>
    <message>
      <source>设置编程操作的选项</source>
      <translation>Set the options of the programming operations</translation>
    </message>
    <message>
      <source>识别器件</source>
      <translation>Identify chip</translation>
    </message>
    <message>
      <source>识别插座中的器件</source>
      <translation>Identify the chip in the socket</translation>
    </message>
    <message>
      <source>语言 / Language</source>
      <translation>语言 / Language</translation>
    </message>
    <message>
      <source>请取出器件</source>
      <translation>Take the chip out</translation>
    </message>
    <message>
      <source>请放入下一个器件</source>
      <translation>Put the next chip in</translation>
    </message>
    <message>
      <source>请检查编程器的连接</source>
      <translation>Check the programmer's connection</translation>
    </message>
    <message>
      <source>读  取</source>
      <translation>Read</translation>
    </message>
    <message>
      <source>读EEPROM...</source>
      <translation>Reading EEPROM...</translation>
    </message>
    <message>
      <source>读EEPROM成功!</source>
      <translation>EEPROM read!</translation>
    </message>
    <message>
      <source>读EEPROM错误...!</source>
      <translation>Error reading EEPROM...!</translation>
    </message>
    <message>
      <source>读FLASH...</source>
      <translation>Reading flash...</translation>
    </message>
    <message>
      <source>读FLASH成功!</source>
      <translation>Flash read!</translation>
    </message>
    <message>
      <source>读FLASH错误...!</source>
      <translation>Error reading flash...!</translation>
    </message>
    <message>
      <source>读NORDIC FLASH成功!</source>
      <translation>NORDIC flash read!</translation>
    </message>
    <message>
      <source>读NORDIC FLASH错误...!</source>
      <translation>Error reading NORDIC flash...!</translation>
    </message>
    <message>
      <source>读写器件的熔丝位</source>
      <translation>Read and write the chip's fuse bits</translation>
    </message>
    <message>
      <source>读出和写入</source>
      <translation>read and written</translation>
    </message>
    <message>
      <source>读取错误器件ID:</source>
      <translation>Wrong device ID read:</translation>
    </message>
    <message>
      <source>读取错误器件ID:%2.2X %2.2X %2.2X</source>
      <translation>Wrong device ID read:%2.2X %2.2X %2.2X</translation>
    </message>
    <message>
      <source>读器件失败!</source>
      <translation>Read failed!</translation>
    </message>
    <message>
      <source>读器件已完成!</source>
      <translation>Read done!</translation>
    </message>
    <message>
      <source>读熔丝位错误...!</source>
      <translation>Error reading the fuses...!</translation>
    </message>
    <message>
      <source>读锁定位错误...!</source>
      <translation>Error reading the lock byte...!</translation>
    </message>
    <message>
      <source>载入文件</source>
      <translation>Load file</translation>
    </message>
    <message>
      <source>载入新的文件时清除缓冲区</source>
      <translation>Clear the buffer when a new file is loaded</translation>
    </message>
    <message>
      <source>这个器件ID不在器件列表中!</source>
      <translation>This device ID is not in the device list!</translation>
    </message>
    <message>
      <source>这次写入将</source>
      <translation>This write would </translation>
    </message>
    <message>
      <source>进度</source>
      <translation>Progress</translation>
    </message>
    <message>
      <source>连续自动烧录</source>
      <translation>Station mode</translation>
    </message>
    <message>
      <source>连续自动烧录: 等待器件</source>
      <translation>Station mode: waiting for a chip</translation>
    </message>
    <message>
      <source>连续自动烧录已停止</source>
      <translation>Station mode stopped</translation>
    </message>
    <message>
      <source>退出</source>
      <translation>Exit</translation>
    </message>
    <message>
      <source>退出系统时保存缓冲区</source>
      <translation>Save the buffer on exit</translation>
    </message>
    <message>
      <source>选择器件</source>
      <translation>Select chip</translation>
    </message>
    <message>
      <source>选择要编程的器件</source>
      <translation>Select the chip to program</translation>
    </message>
    <message>
      <source>选项</source>
      <translation>Options</translation>
    </message>
    <message>
      <source>通过  #%1</source>
      <translation>PASS  #%1</translation>
    </message>
    <message>
      <source>通过 #%d %s</source>
      <translation>PASS #%d %s</translation>
    </message>
    <message>
      <source>重新启动后生效 / Takes effect at the next start</source>
      <translation>重新启动后生效 / Takes effect at the next start</translation>
    </message>
    <message>
      <source>锁定位 %02X 将禁止再%s器件</source>
      <translation>lock byte %02X would stop the chip from being %s again</translation>
    </message>
    <message>
      <source>锁定位 (0x830000)</source>
      <translation>lock byte (0x830000)</translation>
    </message>
    <message>
      <source>错误...!</source>
      <translation>error...!</translation>
    </message>
    <message>
      <source>默  认</source>
      <translation>Default</translation>
    </message>
    <message>
      <source>，写入后本编程器可能再也无法对这块芯片编程，仍要写入吗？</source>
      <translation>; after it this programmer may never program this chip again. Write anyway?</translation>
    </message>
    <message>
      <source>，显示的熔丝位数值不是从芯片读出的。</source>
      <translation>; the fuse values shown were not read from the chip.</translation>
    </message>
    <message>
      <source>，熔丝位没有写入芯片。</source>
      <translation>; the fuses were not written to the chip.</translation>
    </message>
  </context>
</TS>
