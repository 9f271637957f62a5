<?xml version="1.0" encoding="UTF-8"?>
<!-- Captions as a spreadsheet table: one line per image, the fields between double quotes and
     separated by semicolons. -->
<!-- extension=csv -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">

  <xsl:output method="text" encoding="UTF-8"/>

  <!-- A field between double quotes, with each double quote inside doubled. -->
  <xsl:template name="field">
    <xsl:param name="text"/>
    <xsl:text>"</xsl:text>
    <xsl:call-template name="double-quotes">
      <xsl:with-param name="text" select="$text"/>
    </xsl:call-template>
    <xsl:text>"</xsl:text>
  </xsl:template>

  <xsl:template name="double-quotes">
    <xsl:param name="text"/>
    <xsl:choose>
      <xsl:when test="contains($text, '&quot;')">
        <xsl:value-of select="substring-before($text, '&quot;')"/>
        <xsl:text>""</xsl:text>
        <xsl:call-template name="double-quotes">
          <xsl:with-param name="text" select="substring-after($text, '&quot;')"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$text"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/IPTCtoXML">
    <xsl:text>"Number";"File";"Folder";"Headline";"Caption";"Keywords";"City";"Country";"Width";"Height"&#13;&#10;</xsl:text>
    <xsl:for-each select="File">
      <xsl:call-template name="field"><xsl:with-param name="text" select="id"/></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text" select="Name"/></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text" select="Dir"/></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text"><xsl:apply-templates select="iptc/Headline"/></xsl:with-param></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text"><xsl:apply-templates select="iptc/Caption"/></xsl:with-param></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field">
        <xsl:with-param name="text">
          <xsl:for-each select="iptc/Keyword">
            <xsl:if test="position() &gt; 1">, </xsl:if>
            <xsl:apply-templates/>
          </xsl:for-each>
        </xsl:with-param>
      </xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text"><xsl:apply-templates select="iptc/City"/></xsl:with-param></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text"><xsl:apply-templates select="iptc/Country"/></xsl:with-param></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text" select="Width"/></xsl:call-template>
      <xsl:text>;</xsl:text>
      <xsl:call-template name="field"><xsl:with-param name="text" select="Height"/></xsl:call-template>
      <xsl:text>&#13;&#10;</xsl:text>
    </xsl:for-each>
  </xsl:template>

  <xsl:template match="euro">&#x20AC;</xsl:template>
</xsl:stylesheet>
